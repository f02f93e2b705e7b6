#include "plugin/registration.h"

#include <atomic>
#include <string>
#include <string_view>
#include <utility>

#include "platform/com_ptr.h"
#include "platform/com_boundary.h"
#include "platform/unique_resource.h"
#include "plugin/module_resources.h"
#include "contract/plugin_interfaces.h"

namespace {

// What the host reads from its plug-in key.
constexpr std::wstring_view pluginKeyName = L"VexaPlugin";
constexpr std::wstring_view pluginName = L"Vexa";
constexpr std::wstring_view pluginVendor = L"Nerova";
constexpr std::wstring_view pluginVersion = L"1.0.0";
constexpr std::wstring_view pluginDescription = L"Description";
constexpr std::wstring_view pluginIcon = L"Icon";
constexpr std::wstring_view pluginHostIcon = L"vexa";
constexpr DWORD supportsAnalyse = 1;
constexpr DWORD pluginType = 1;

constexpr std::wstring_view classDescription = L"Plugin class";
constexpr std::wstring_view threadingModel = L"Apartment";

constexpr std::wstring_view pluginsBranch = L"SOFTWARE\\Nerova\\Plugins\\";
constexpr std::wstring_view classesBranch = L"SOFTWARE\\Classes\\CLSID\\";
constexpr std::wstring_view inprocServerKey = L"InprocServer32";

// Set by DllInstall("user") and never cleared while the module is loaded, so
// that a later unregistration in the same process finds the same root.
std::atomic<bool> perUserChosen{false};

struct RegistryKeyTraits {
    using Handle = HKEY;
    static constexpr Handle empty() noexcept { return nullptr; }
    static void close(Handle key) noexcept { RegCloseKey(key); }
};

class RegistryKey : public vexa::UniqueResource<RegistryKeyTraits> {
public:
    // Creates or opens `path` below `parent`; empty when that fails.
    static RegistryKey create(HKEY parent, const std::wstring& path) noexcept {
        RegistryKey key;
        if (RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                            key.put(), nullptr) != ERROR_SUCCESS)
            key.reset();
        return key;
    }

    // Texts are stored without their terminating NUL: the data length is
    // twice the character count. The system stores a NUL anyway when it finds
    // one right behind the counted characters, so the data comes from a copy
    // that has none there. Write results are not checked; the registration
    // goes on.
    void setText(const wchar_t* name, std::wstring_view text) const {
        std::wstring data(text);
        data.push_back(L'.');
        RegSetValueExW(get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                       static_cast<DWORD>(text.size() * sizeof(wchar_t)));
    }
    void setNumber(const wchar_t* name, DWORD value) const noexcept {
        RegSetValueExW(get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }
};

struct RegistryPlaces {
    HKEY root;
    std::wstring pluginKey;
    std::wstring classKey;
};

std::wstring classIdText() {
    OLECHAR text[40] = {};
    StringFromGUID2(CLSID_VexaPlugin, text, 40);
    return text;
}

std::wstring serverKeyPath(const RegistryPlaces& places) {
    return places.classKey + L"\\" + std::wstring(inprocServerKey);
}

RegistryPlaces registryPlaces() {
    return {perUserChosen ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE,
            std::wstring(pluginsBranch).append(pluginKeyName), std::wstring(classesBranch) + classIdText()};
}

void writePluginKey(const RegistryPlaces& places) {
    const RegistryKey key = RegistryKey::create(places.root, places.pluginKey);
    if (!key) return;  // the host will not list the plug-in, but COM still can create it
    key.setText(L"Name", pluginName);
    key.setText(L"Vendor", pluginVendor);
    key.setText(L"Version", pluginVersion);
    key.setText(L"Description", pluginDescription);
    key.setText(L"GUID", classIdText());
    key.setText(L"Icon", pluginIcon);
    key.setText(L"NerovaIcon", pluginHostIcon);
    key.setNumber(L"SupportsAnalyse", supportsAnalyse);
    key.setNumber(L"Type", pluginType);
}

void writeClassKey(const RegistryPlaces& places) {
    const RegistryKey key = RegistryKey::create(places.root, places.classKey);
    if (!key) return;
    key.setText(nullptr, classDescription);
    const RegistryKey server = RegistryKey::create(places.root, serverKeyPath(places));
    if (!server) return;
    ModulePath path{};
    moduleFileName(path);  // an empty path is still written, as the system gave it
    server.setText(nullptr, path.data());
    server.setText(L"ThreadingModel", threadingModel);
}

void deleteKeys(const RegistryPlaces& places) {
    RegDeleteKeyW(places.root, places.pluginKey.c_str());
    RegDeleteKeyW(places.root, serverKeyPath(places).c_str());
    RegDeleteKeyW(places.root, places.classKey.c_str());
}

HRESULT registerTypeLibrary() {
    ModulePath path{};
    HRESULT result = moduleFileName(path);
    if (FAILED(result)) return result;
    vexa::ComPtr<ITypeLib> library;
    result = LoadTypeLibEx(path.data(), REGKIND_NONE, library.put());
    if (FAILED(result)) return result;
    return perUserChosen ? RegisterTypeLibForUser(library.get(), path.data(), nullptr)
                         : RegisterTypeLib(library.get(), path.data(), nullptr);
}

HRESULT unregisterTypeLibrary() {
    vexa::ComPtr<ITypeLib> library;
    HRESULT result = loadModuleTypeLibrary(library.put());
    if (FAILED(result)) return result;
    TLIBATTR* attributes = nullptr;
    result = library->GetLibAttr(&attributes);
    if (FAILED(result)) return result;
    const TLIBATTR copy = *attributes;
    library->ReleaseTLibAttr(attributes);
    return perUserChosen ? UnRegisterTypeLibForUser(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid,
                                                    copy.syskind)
                         : UnRegisterTypeLib(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid,
                                             copy.syskind);
}

}  // namespace

HRESULT registerPlugin() noexcept {
    return vexa::guarded([] {
        const RegistryPlaces places = registryPlaces();
        writePluginKey(places);
        writeClassKey(places);
        return registerTypeLibrary();
    });
}

HRESULT unregisterPlugin() noexcept {
    return vexa::guarded([] {
        deleteKeys(registryPlaces());
        return unregisterTypeLibrary();
    });
}

HRESULT installPlugin(bool install, const OLECHAR* commandLine) noexcept {
    if (commandLine != nullptr && CompareStringOrdinal(commandLine, -1, L"user", -1, TRUE) == CSTR_EQUAL)
        perUserChosen = true;
    if (!install) return unregisterPlugin();
    const HRESULT registered = registerPlugin();
    if (FAILED(registered)) unregisterPlugin();
    return registered;
}
