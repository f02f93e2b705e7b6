#include "host/plugin_module.h"

#include <filesystem>
#include <stdexcept>

#include "platform/com_error.h"
#include "contract/plugin_interfaces.h"

namespace vexa::host {

PluginModule::PluginModule(const std::string& path) : library_(DynamicLibrary::open(path)) {
    getClassObject_ = library_.function<GetClassObjectFunction>("DllGetClassObject");
    canUnloadNow_ = library_.function<CanUnloadNowFunction>("DllCanUnloadNow");
    if (getClassObject_ == nullptr || canUnloadNow_ == nullptr)
        throw std::runtime_error(path + " is not a COM server: its entry points are missing");
}

std::string PluginModule::fileName() {
#ifdef _WIN32
    return "Vexa64.dll";
#else
    return "libVexa64.so";
#endif
}

std::string PluginModule::besideProgram() {
    // Any object of this program names its file.
    static const char anchor = 0;
    const std::string folder = moduleFolderOf(&anchor);
#ifndef _WIN32
    // An installed tree keeps the plug-in with its libraries, not beside
    // the programs.
    const std::string installed = folder + "../lib/vexa/" + fileName();
    if (!std::filesystem::exists(folder + fileName()) && std::filesystem::exists(installed)) return installed;
#endif
    return folder + fileName();
}

HRESULT PluginModule::getClassObject(REFCLSID classId, REFIID iid, void** object) const {
    return getClassObject_(classId, iid, object);
}

HRESULT PluginModule::canUnloadNow() const { return canUnloadNow_(); }

ComPtr<IClassFactory> PluginModule::classFactory() const {
    ComPtr<IClassFactory> factory;
    const HRESULT result = getClassObject(CLSID_VexaPlugin, IID_IClassFactory, factory.putVoid());
    if (FAILED(result)) throwComError(result, IID_IClassFactory);
    return factory;
}

ComPtr<IUnknown> PluginModule::createPlugin() const {
    ComPtr<IClassFactory> factory = classFactory();
    ComPtr<IUnknown> plugin;
    checkCall(factory->CreateInstance(nullptr, IID_IUnknown, plugin.putVoid()), factory.get());
    return plugin;
}

ComPtr<IUnknown> PluginModule::createRegistered() {
#ifdef _WIN32
    ComPtr<IUnknown> plugin;
    const HRESULT result =
        CoCreateInstance(CLSID_VexaPlugin, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, plugin.putVoid());
    if (FAILED(result)) throwComError(result, IID_IUnknown);
    return plugin;
#else
    throw std::runtime_error("creating the plug-in from the registry exists only on Windows");
#endif
}

PluginSource::PluginSource(const std::string& path, bool registered) {
    if (!registered) module_.emplace(path);
}

ComPtr<IUnknown> PluginSource::create() const {
    return module_ ? module_->createPlugin() : PluginModule::createRegistered();
}

#ifdef _WIN32
ComApartment::ComApartment() : entered_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
ComApartment::~ComApartment() {
    if (entered_) CoUninitialize();
}
#else
ComApartment::ComApartment() = default;
ComApartment::~ComApartment() = default;
#endif

}  // namespace vexa::host
