#include <gtest/gtest.h>

#include <thread>

#include "core/check_result.h"
#include "core/core_library.h"
#include "core/exception_registry.h"
#include "core/object_ptr.h"
#include "runtime_extras.h"

namespace {

using namespace Nerova::RT::Core;
using vexa::test::runtimeExtras;

const CoreTypesLibrary& runtime() { return CoreTypesLibrary::get(); }

// Leaves an error info with `message` for the calling thread, as a failing
// core call does.
void publishError(const std::string& message) {
    ObjectPtr<IErrorInfo> info;
    ASSERT_EQ(runtimeExtras().createErrorInfo(info.put()), errOk);
    StringPtr text(message);
    info->setMessage(text.get());
    runtimeExtras().setErrorInfo(info.get());
}

bool threadHasErrorInfo() {
    ObjectPtr<IErrorInfo> info;
    runtime().getErrorInfo(info.put());
    return static_cast<bool>(info);
}

class CheckResult : public ::testing::Test {
protected:
    void TearDown() override { runtime().clearErrorInfo(); }
};

TEST_F(CheckResult, SuccessReturnsWithoutTouchingTheThreadsErrorInfo) {
    publishError("left alone");
    EXPECT_NO_THROW(checkResult(0));
    EXPECT_NO_THROW(checkResult(1));
    EXPECT_NO_THROW(checkResult(0x7FFFFFFF));
    EXPECT_TRUE(threadHasErrorInfo());
}

TEST_F(CheckResult, FailureTakesTheLibrarysMessageAndClearsItOrFallsBackToTheDefault) {
    for (const bool published : {false, true}) {
        if (published) publishError("abc");
        try {
            checkResult(0x80000006);
            FAIL();
        } catch (const NotFoundException& e) {
            EXPECT_STREQ(e.what(), published ? "abc" : "Not found");
            EXPECT_EQ(e.isDefaultMessage(), !published);
        }
        EXPECT_FALSE(threadHasErrorInfo());
    }
}

TEST_F(CheckResult, UnregisteredStatusBecomesTheBaseClassWithThatCode) {
    publishError("strange");
    try {
        checkResult(0x80ABCDEF);
        FAIL();
    } catch (const NvrtException& e) {
        EXPECT_EQ(e.code(), 0x80ABCDEFu);
        EXPECT_STREQ(e.what(), "strange");
    }
}

TEST_F(CheckResult, ErrorInfoOfAnotherThreadIsNotSeen) {
    publishError("mine only");
    bool caughtDefault = false;
    std::thread other([&] {
        try {
            checkResult(0x80000014);
        } catch (const GeneralErrorException& e) {
            caughtDefault = e.isDefaultMessage();
        }
    });
    other.join();
    EXPECT_TRUE(caughtDefault);
    EXPECT_TRUE(threadHasErrorInfo()) << "the other thread must not take this thread's error";
}

TEST(StringPtr, MakesACoreStringAndCopiesShareIt) {
    StringPtr text("\xC2\xB5V and more");
    EXPECT_EQ(text.toStdString(), "\xC2\xB5V and more");
    StringPtr copy = text;
    EXPECT_EQ(copy.get(), text.get());
    SizeT length = 0;
    copy->getLength(&length);
    EXPECT_EQ(length, 12u) << "the length counts bytes of the narrow text";
    EXPECT_EQ(StringPtr().toStdString(), "");
}

TEST(CoreTypesLibrary, MissingLibraryIsAClearErrorNotACrash) {
    try {
        CoreTypesLibrary::load("no-such-folder/" + CoreTypesLibrary::fileName());
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("core-types library"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("nvrtcoretypes-64-1"), std::string::npos) << e.what();
    }
}

}  // namespace
