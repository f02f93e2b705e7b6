// The host has its own core-types library loaded before the plug-in needs
// one, and that library exports only four functions. This program loads our
// runtime cut down to those four from a folder of its own, before anything
// binds, as the host would, and runs the core layer against it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/check_result.h"
#include "core/core_library.h"
#include "core/intf_object.h"
#include "core/object_ptr.h"

namespace {

using namespace Nerova::RT::Core;
using vexa::DynamicLibrary;

const char anchor = 0;

std::string besideUs(const std::string& relative) {
    return vexa::moduleFolderOf(&anchor) + relative;
}

DynamicLibrary& hostCopy() {
    static DynamicLibrary library;
    return library;
}

class HostLoadsItsLibraryFirst : public ::testing::Environment {
public:
    void SetUp() override {
        hostCopy() = DynamicLibrary::open(besideUs("four-exports/" + CoreTypesLibrary::fileName()));
    }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new HostLoadsItsLibraryFirst);

struct IProbe : IBaseObject {
    static constexpr IntfID Id = {0x11111111, 0x2222, 0x3333, {4, 4, 5, 5, 6, 6, 7, 7}};
    static constexpr const char* typeName() { return "Nerova::Test::IProbe::nvrtType"; }
    virtual ErrCode poke() = 0;  // 8
};

class Probe final : public IntfObjectImpl<IProbe> {
public:
    ErrCode poke() override { return errOk; }
};

bool threadHasErrorInfo() {
    ObjectPtr<IErrorInfo> info;
    CoreTypesLibrary::get().getErrorInfo(info.put());
    return static_cast<bool>(info);
}

TEST(RuntimeBinding, BindsTheCopyTheHostLoadedAndLoadsNoOther) {
    for (const char* extra : {"nvRtFreeMemory", "createErrorInfo", "nvRtSetErrorInfo"})
        ASSERT_EQ(hostCopy().symbol(extra), nullptr) << extra << " must not be exported here";

    const CoreTypesLibrary& bound = CoreTypesLibrary::get();
    EXPECT_EQ(bound.createString, hostCopy().function<CreateStringFunc>("createString"));
    EXPECT_EQ(bound.getErrorInfo, hostCopy().function<GetErrorInfoFunc>("nvRtGetErrorInfo"));
    EXPECT_EQ(bound.clearErrorInfo, hostCopy().function<ClearErrorInfoFunc>("nvRtClearErrorInfo"));
    EXPECT_EQ(bound.duplicateCharPtr,
              hostCopy().function<DuplicateCharPtrFunc>("nvRtDuplicateCharPtr"));

    // Our full runtime lies beside this program and on the search path;
    // it must not have been loaded as a second copy.
    EXPECT_FALSE(DynamicLibrary::openLoaded(besideUs(CoreTypesLibrary::fileName())));
}

TEST(RuntimeBinding, CheckResultTakesTheMessageTheHostsLibraryLeftForTheThread) {
    // A call that fails inside the host's library, as the toolkit's would.
    const auto hostCreateString = hostCopy().function<CreateStringFunc>("createString");
    IString* none = nullptr;
    const ErrCode status = hostCreateString(&none, nullptr);
    ASSERT_EQ(status, errArgumentNull);
    ASSERT_TRUE(threadHasErrorInfo());
    try {
        checkResult(status);
        FAIL() << "no exception";
    } catch (const ArgumentNullException& e) {
        EXPECT_FALSE(e.isDefaultMessage());
        EXPECT_NE(std::string(e.what()).find("createString"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(threadHasErrorInfo());
}

TEST(RuntimeBinding, StringsAndTypeNamesComeFromTheHostsLibrary) {
    const StringPtr text("\xC2\xB5V");
    EXPECT_EQ(text.toStdString(), "\xC2\xB5V");

    auto probe = createObject<Probe>();
    CharPtr name = nullptr;
    ASSERT_EQ(probe->toString(&name), errOk);
    EXPECT_STREQ(name, "Nerova::Test::IProbe::nvrtType");
    // The receiver frees the text through the library; ours duplicates with
    // the C runtime's malloc, which this program shares.
    std::free(name);
}

}  // namespace
