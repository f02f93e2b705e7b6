#include <gtest/gtest.h>

#include <string>

#include "core/exception_registry.h"

namespace {

using namespace Nerova::RT::Core;

struct FamilyMember {
    ErrCode code;
    const char* defaultMessage;
};

// Every class of the family, through the process-wide registry that module
// start filled.
const FamilyMember kFamily[] = {
    {0x80000000, "No memory"},
    {0x80000001, "Invalid parameter"},
    {0x80000026, "Argument must not be NULL."},
    {0x80004002, "Invalid cast. The object does not implement this interface."},
    {0x8000000B, "Not assigned"},
    {0x80000013, "Not enabled"},
    {0x80000005, "Out of range"},
    {0x80000006, "Not found"},
    {0x80000014, "General error"},
    {0x80000011, "Invalid type"},
    {0x8000000A, "Already exists"},
    {0x80000017, "Object frozen"},
    {0x8000000D, "Parse failed"},
    {0x80000016, "Not Implemented"},
    {0x80000018, "Not serializable"},
    {0x80000021, "Error when parsing or deserializing"},
    {0x80000004, "Conversion failed"},
    {0x80000024, "Invalid property"},
    {0x8000000E, "Invalid value"},
    {0x80000029, "Invalid state"},
    {0x80000030, "Validate failed"},
    {0x80000028, "The operation requires initialization"},
    {0x80000027, "Operation in not valid for the current type or state."},
};

NvrtException thrownFor(ErrCode code, const std::string& text) {
    try {
        throwForCode(code, text);
    } catch (const NvrtException& e) {
        return e;
    }
    ADD_FAILURE() << "throwForCode returned";
    return NvrtException(0, "");
}

TEST(ExceptionFamily, EveryRegisteredCodeRaisesItsClassWithItsDefaultMessage) {
    for (const auto& member : kFamily) {
        const NvrtException e = thrownFor(member.code, "");
        EXPECT_EQ(e.code(), member.code);
        EXPECT_STREQ(e.what(), member.defaultMessage);
        EXPECT_TRUE(e.isDefaultMessage());
        const NvrtException withText = thrownFor(member.code, "detail");
        EXPECT_STREQ(withText.what(), "detail");
        EXPECT_FALSE(withText.isDefaultMessage());
    }
}

TEST(ExceptionFamily, ConcreteClassIsWhatACallerCatches) {
    EXPECT_THROW(throwForCode(errNotFound, "x"), NotFoundException);
    EXPECT_THROW(throwForCode(errNoInterface, ""), NoInterfaceException);
    EXPECT_THROW(throwForCode(errInvalidOperation, ""), InvalidOperationException);
}

// A factory that counts its own destruction.
class CountingFactory final : public IExceptionFactory {
public:
    explicit CountingFactory(int& destroyed) : destroyed_(destroyed) {}
    void destroy() override {
        ++destroyed_;
        delete this;
    }
    [[noreturn]] void throwException(ErrCode code, const std::string&) override {
        throw NvrtException(code, "counting");
    }

private:
    int& destroyed_;
};

TEST(ExceptionRegistry, ReplacingAFactoryDestroysTheOldOne) {
    ExceptionRegistry registry;
    int firstDestroyed = 0;
    int secondDestroyed = 0;
    registry.registerFactory(0x80000099, new CountingFactory(firstDestroyed));
    registry.registerFactory(0x80000099, new CountingFactory(secondDestroyed));
    EXPECT_EQ(firstDestroyed, 1);
    EXPECT_EQ(secondDestroyed, 0);
    registry.unregisterFactory(0x80000099);
    EXPECT_EQ(secondDestroyed, 1);
}

TEST(ExceptionRegistry, AfterClosingRemovalsDoNothingAndLookupFallsBack) {
    ExceptionRegistry registry;
    int destroyed = 0;
    registry.registerFactory(0x80000099, new CountingFactory(destroyed));
    registry.close();
    EXPECT_TRUE(registry.isClosed());
    EXPECT_EQ(destroyed, 1) << "closing releases every factory";
    registry.unregisterFactory(0x80000099);
    EXPECT_EQ(destroyed, 1);
    try {
        registry.lookupFactory(0x80000099).throwException(0x80000099, "late");
    } catch (const NvrtException& e) {
        EXPECT_EQ(e.code(), 0x80000099u);
        EXPECT_STREQ(e.what(), "late");
    }
}

}  // namespace
