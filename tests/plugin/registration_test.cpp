// Registration as regsvr32 drives it: the entry points of a freshly loaded
// module, then the registry read back. Every test removes what it wrote.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/module_exports.h"
#include "platform/guid.h"
#include "platform/text.h"
#include "contract/plugin_interfaces.h"

namespace registration_test {
namespace {

const std::wstring pluginKey = L"SOFTWARE\\Nerova\\Plugins\\VexaPlugin";
const std::wstring classKey = L"SOFTWARE\\Classes\\CLSID\\" + vexa::utf8ToWide(vexa::guidToString(CLSID_VexaPlugin));
const std::wstring serverKey = classKey + L"\\InprocServer32";

struct KeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using OpenKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

OpenKey openKey(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return nullptr;
    return OpenKey(key);
}

bool keyExists(HKEY root, const std::wstring& path) { return openKey(root, path) != nullptr; }

struct StoredValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;  // exactly as stored, with no terminator added
};

std::optional<StoredValue> readValue(HKEY root, const std::wstring& path, const wchar_t* name) {
    const OpenKey key = openKey(root, path);
    if (!key) return std::nullopt;
    StoredValue value;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    if (size != 0 && RegQueryValueExW(key.get(), name, nullptr, &value.type, value.data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

// A text value holds its characters and nothing more: no terminating NUL.
void expectText(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& expected) {
    const std::optional<StoredValue> value = readValue(root, path, name);
    const std::string label = vexa::wideToUtf8(path) + " " + (name ? vexa::wideToUtf8(name) : "(default)");
    ASSERT_TRUE(value) << label;
    EXPECT_EQ(value->type, DWORD(REG_SZ)) << label;
    ASSERT_EQ(value->data.size(), expected.size() * sizeof(wchar_t)) << label;
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(value->data.data()), expected.size()), expected)
        << label;
}

void expectNumber(HKEY root, const std::wstring& path, const wchar_t* name, DWORD expected) {
    const std::optional<StoredValue> value = readValue(root, path, name);
    ASSERT_TRUE(value) << vexa::wideToUtf8(name);
    EXPECT_EQ(value->type, DWORD(REG_DWORD));
    ASSERT_EQ(value->data.size(), sizeof(DWORD));
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(value->data.data()), expected);
}

bool registeredAnywhere(HKEY root) {
    return keyExists(root, pluginKey) || keyExists(root, classKey);
}

bool typeLibraryRegistered() {
    ITypeLib* library = nullptr;
    if (FAILED(LoadRegTypeLib(LIBID_VexaPluginLib, 1, 0, LOCALE_NEUTRAL, &library))) return false;
    library->Release();
    return true;
}

class Registration : public ::testing::Test {
protected:
    void SetUp() override {
        removeRegistration();
        // A module left loaded would carry its per-user choice into this test.
        ASSERT_EQ(GetModuleHandleW(moduleName), nullptr);
        module.emplace();
    }
    void TearDown() override {
        module.reset();
        removeRegistration();
    }

    // What any registration may have left, whichever root it chose.
    static void removeRegistration() {
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            RegDeleteTreeW(root, pluginKey.c_str());
            RegDeleteTreeW(root, classKey.c_str());
            // Only when empty: the branch may hold other plug-ins.
            RegDeleteKeyW(root, L"SOFTWARE\\Nerova\\Plugins");
            RegDeleteKeyW(root, L"SOFTWARE\\Nerova");
        }
        UnRegisterTypeLib(LIBID_VexaPluginLib, 1, 0, LOCALE_NEUTRAL, SYS_WIN64);
    }

    void expectFullRegistration(HKEY root) {
        expectText(root, pluginKey, L"Name", L"Vexa");
        expectText(root, pluginKey, L"Vendor", L"Nerova");
        expectText(root, pluginKey, L"Version", L"1.0.0");
        expectText(root, pluginKey, L"Description", L"Description");
        expectText(root, pluginKey, L"GUID", vexa::utf8ToWide(vexa::guidToString(CLSID_VexaPlugin)));
        expectText(root, pluginKey, L"Icon", L"Icon");
        expectText(root, pluginKey, L"NerovaIcon", L"vexa");
        expectNumber(root, pluginKey, L"SupportsAnalyse", 1);
        expectNumber(root, pluginKey, L"Type", 1);
        expectText(root, classKey, nullptr, L"Plugin class");
        expectText(root, serverKey, nullptr, module->path());
        expectText(root, serverKey, L"ThreadingModel", L"Apartment");
    }

    std::optional<ModuleExports> module;
};

TEST_F(Registration, PerUserInstallWritesEveryValueUnderTheCurrentUserOnly) {
    ASSERT_EQ(module->install(true, L"USER"), S_OK);

    expectFullRegistration(HKEY_CURRENT_USER);
    EXPECT_FALSE(registeredAnywhere(HKEY_LOCAL_MACHINE));
    EXPECT_TRUE(typeLibraryRegistered());

    // The host reads "Name" by its data length: four characters, eight bytes.
    EXPECT_EQ(readValue(HKEY_CURRENT_USER, pluginKey, L"Name")->data.size(), 8u);
}

TEST_F(Registration, PerUserUninstallLeavesTheMachineRegistrationAlone) {
    ASSERT_EQ(module->registerServer(), S_OK);
    ASSERT_TRUE(keyExists(HKEY_LOCAL_MACHINE, serverKey));

    ASSERT_EQ(module->install(false, L"user"), S_OK);
    EXPECT_FALSE(registeredAnywhere(HKEY_CURRENT_USER));
    expectFullRegistration(HKEY_LOCAL_MACHINE);

    // The choice stays with the loaded module: a plain registration now
    // goes to the current user too.
    ASSERT_EQ(module->registerServer(), S_OK);
    expectFullRegistration(HKEY_CURRENT_USER);
}

TEST_F(Registration, OtherCommandLinesRegisterPerMachine) {
    for (const wchar_t* commandLine : {L"users", L"", static_cast<const wchar_t*>(nullptr)}) {
        ASSERT_EQ(module->install(true, commandLine), S_OK);
        expectFullRegistration(HKEY_LOCAL_MACHINE);
        EXPECT_FALSE(registeredAnywhere(HKEY_CURRENT_USER));
    }
}

TEST_F(Registration, UnregistrationRemovesTheClassItsServerKeyAndTheTypeLibrary) {
    ASSERT_EQ(module->registerServer(), S_OK);
    ASSERT_TRUE(typeLibraryRegistered());

    ASSERT_EQ(module->unregisterServer(), S_OK);
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, serverKey));
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, classKey));
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, pluginKey));
    EXPECT_FALSE(typeLibraryRegistered());
}

TEST_F(Registration, UninstallAnswersWhatTheTypeLibrarySays) {
    // Nothing was registered: the keys are simply absent, but the type
    // library cannot be unregistered and that failure is the answer.
    EXPECT_TRUE(FAILED(module->install(false, nullptr)));
    EXPECT_FALSE(registeredAnywhere(HKEY_LOCAL_MACHINE));
}

}  // namespace
}  // namespace registration_test
