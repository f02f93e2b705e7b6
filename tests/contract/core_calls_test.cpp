// The core layer against a core-types library made of raw slot tables,
// loaded before anything binds, as the host's own library would be: every
// call must reach the function or slot the host's library has for it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/check_result.h"
#include "core/core_library.h"
#include "core/errors.h"
#include "core/intf_object.h"
#include "core/object_ptr.h"
#include "platform/dynamic_library.h"
#include "support/raw_com.h"

namespace {

using namespace Nerova::RT::Core;

const char anchor = 0;

struct RawCoreLibrary {
    vexa::DynamicLibrary module;
    raw::World* world = nullptr;
    void (*fail)(const char*) = nullptr;
};

RawCoreLibrary& rawCore() {
    static RawCoreLibrary library;
    return library;
}

class HostLoadsItsLibraryFirst : public ::testing::Environment {
public:
    void SetUp() override {
        RawCoreLibrary& library = rawCore();
        library.module =
            vexa::DynamicLibrary::open(vexa::moduleFolderOf(&anchor) + "raw-core/" + CoreTypesLibrary::fileName());
        library.world = library.module.function<raw::World* (*)()>("rawCoreWorld")();
        library.fail = library.module.function<void (*)(const char*)>("rawCoreFail");
    }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new HostLoadsItsLibraryFirst);

std::string journal() { return raw::describe(rawCore().world->take()); }

struct IProbe : IBaseObject {
    static constexpr IntfID Id = {0x11111111, 0x2222, 0x3333, {4, 4, 5, 5, 6, 6, 7, 7}};
    static constexpr const char* typeName() { return "Nerova::Test::IProbe::nvrtType"; }
    virtual ErrCode poke() = 0;
};

class Probe final : public IntfObjectImpl<IProbe> {
public:
    ErrCode poke() override { return errOk; }
};

template <class... Args>
ErrCode callCoreSlot(void* object, int slot, Args... args) {
    using Method = ErrCode (*)(void*, Args...);
    void* const* vtable = *static_cast<void* const* const*>(object);
    return reinterpret_cast<Method>(vtable[slot])(object, args...);
}

TEST(CoreCalls, AFailingStatusTakesTheMessageAtItsSlotsThenClearsTheErrorInfo) {
    journal();
    rawCore().fail("the device went away");
    try {
        checkResult(errGeneralError);
        FAIL() << "a failing status must throw";
    } catch (const GeneralErrorException& e) {
        EXPECT_STREQ(e.what(), "the device went away");
    }
    EXPECT_EQ(journal(), "nvRtGetErrorInfo: 0; errorInfo: 9; string0: 8; nvRtClearErrorInfo: 0");

    checkResult(errOk);
    EXPECT_EQ(journal(), "") << "a success asks for nothing";
}

TEST(CoreCalls, StringsAreMadeByTheLibrary) {
    journal();
    const StringPtr text("Engine/Speed");
    EXPECT_EQ(journal(), "createString: 0");
}

TEST(CoreCalls, OurObjectsAnswerEverySlotByNumber) {
    ObjectPtr<IProbe> probe = createObject<Probe>();
    void* object = probe.get();
    journal();

    constexpr IntfID baseObject = IBaseObject::Id;
    void* found = nullptr;
    EXPECT_EQ(callCoreSlot(object, 0, &baseObject, &found), errOk);
    EXPECT_EQ(found, object);
    EXPECT_EQ(callCoreSlot(object, 1), 3u) << "the holder's, the query's and this one";
    EXPECT_EQ(callCoreSlot(object, 2), 2u);
    EXPECT_EQ(callCoreSlot(object, 2), 1u);
    found = nullptr;
    EXPECT_EQ(callCoreSlot(object, 3, &baseObject, &found), errOk);
    EXPECT_EQ(found, object) << "borrowed: no reference added";
    std::size_t hash = 0;
    EXPECT_EQ(callCoreSlot(object, 5, &hash), errOk);
    EXPECT_EQ(hash, reinterpret_cast<std::size_t>(object));
    EXPECT_EQ(callCoreSlot(object, 6, object), errOk) << "equal to itself";

    char* text = nullptr;
    EXPECT_EQ(callCoreSlot(object, 7, &text), errOk);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "Nerova::Test::IProbe::nvrtType");
    std::free(text);  // the raw library allocates with malloc
    EXPECT_EQ(journal(), "nvRtDuplicateCharPtr: 0") << "the text is the library's, for the host to free";
    EXPECT_EQ(callCoreSlot(object, 4), errOk);
}

}  // namespace
