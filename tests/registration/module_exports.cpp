#include "module_exports.h"

#include <stdexcept>

#include "host/plugin_module.h"

namespace registration_test {

ModuleExports::ModuleExports()
    : library_(vexa::DynamicLibrary::open(vexa::host::PluginModule::besideProgram())) {
    canUnloadNow_ = library_.function<decltype(canUnloadNow_)>("DllCanUnloadNow");
    getClassObject_ = library_.function<decltype(getClassObject_)>("DllGetClassObject");
    install_ = library_.function<decltype(install_)>("DllInstall");
    registerServer_ = library_.function<decltype(registerServer_)>("DllRegisterServer");
    unregisterServer_ = library_.function<decltype(unregisterServer_)>("DllUnregisterServer");
    if (!canUnloadNow_ || !getClassObject_ || !install_ || !registerServer_ || !unregisterServer_)
        throw std::runtime_error("the plug-in module lacks an entry point");
}

std::wstring ModuleExports::path() const {
    wchar_t buffer[MAX_PATH * 4] = {};
    const DWORD length = GetModuleFileNameW(handle(), buffer, MAX_PATH * 4);
    return std::wstring(buffer, length);
}

}  // namespace registration_test
