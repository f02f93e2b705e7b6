// The plug-in module loaded afresh, with all five of its entry points.
// Module-wide state (the per-user choice) starts over with each load, as it
// would in a new regsvr32 process.
#pragma once

#include <string>

#include "platform/com.h"
#include "platform/dynamic_library.h"

namespace registration_test {

// The module's name as the loader knows it.
inline constexpr wchar_t moduleName[] = L"Vexa64.dll";

class ModuleExports {
public:
    // Loads the module beside the test program; fails the test (by
    // throwing) when an entry point is missing.
    ModuleExports();

    HRESULT canUnloadNow() const { return canUnloadNow_(); }
    HRESULT getClassObject(REFCLSID classId, REFIID iid, void** object) const {
        return getClassObject_(classId, iid, object);
    }
    HRESULT install(bool install, const wchar_t* commandLine) const {
        return install_(install ? TRUE : FALSE, commandLine);
    }
    HRESULT registerServer() const { return registerServer_(); }
    HRESULT unregisterServer() const { return unregisterServer_(); }

    HMODULE handle() const { return GetModuleHandleW(moduleName); }
    // The module's full path as the loader reports it.
    std::wstring path() const;

private:
    vexa::DynamicLibrary library_;
    HRESULT(STDAPICALLTYPE* canUnloadNow_)() = nullptr;
    HRESULT(STDAPICALLTYPE* getClassObject_)(REFCLSID, REFIID, LPVOID*) = nullptr;
    HRESULT(STDAPICALLTYPE* install_)(BOOL, LPCWSTR) = nullptr;
    HRESULT(STDAPICALLTYPE* registerServer_)() = nullptr;
    HRESULT(STDAPICALLTYPE* unregisterServer_)() = nullptr;
};

}  // namespace registration_test
