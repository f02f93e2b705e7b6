// The plug-in module loaded afresh, with the entry points regsvr32 calls.
// Module-wide state (the per-user choice) starts over with each load, as it
// would in a new regsvr32 process.
#pragma once

#include <stdexcept>
#include <string>

#include "host/plugin_module.h"
#include "platform/com.h"
#include "platform/dynamic_library.h"

namespace registration_test {

// The module's name as the loader knows it.
inline constexpr wchar_t moduleName[] = L"Vexa64.dll";

class ModuleExports {
public:
    HRESULT install(bool install, const wchar_t* commandLine) const {
        return entry<HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR)>("DllInstall")(install ? TRUE : FALSE, commandLine);
    }
    HRESULT registerServer() const { return entry<HRESULT(STDAPICALLTYPE*)()>("DllRegisterServer")(); }
    HRESULT unregisterServer() const { return entry<HRESULT(STDAPICALLTYPE*)()>("DllUnregisterServer")(); }

    HMODULE handle() const { return GetModuleHandleW(moduleName); }
    // The module's full path as the loader reports it.
    std::wstring path() const {
        wchar_t buffer[MAX_PATH * 4] = {};
        return std::wstring(buffer, GetModuleFileNameW(handle(), buffer, MAX_PATH * 4));
    }

private:
    // A missing entry point fails the test by throwing.
    template <class Function>
    Function entry(const char* name) const {
        if (auto function = library_.function<Function>(name)) return function;
        throw std::runtime_error(std::string("the plug-in module lacks ") + name);
    }

    vexa::DynamicLibrary library_ = vexa::DynamicLibrary::open(vexa::host::PluginModule::besideProgram());
};

}  // namespace registration_test
