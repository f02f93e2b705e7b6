#include "plugin/module_resources.h"

#include "platform/com_ptr.h"

HRESULT moduleFileName(ModulePath& path) noexcept {
    const DWORD length = GetModuleFileNameW(moduleInstance(), path.data(), maxModulePathLength);
    path[maxModulePathLength] = 0;
    if (length == 0) return HRESULT_FROM_WIN32(GetLastError());
    // A path that does not fit comes back cut short; it names no file.
    if (length >= maxModulePathLength) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    return S_OK;
}

HRESULT loadModuleTypeLibrary(ITypeLib** library) noexcept {
    if (library == nullptr) return E_POINTER;
    *library = nullptr;
    ModulePath path{};
    const HRESULT named = moduleFileName(path);
    if (FAILED(named)) return named;
    return LoadTypeLibEx(path.data(), REGKIND_NONE, library);
}

// Loaded on each request rather than cached for the module's life: the
// system keeps loaded type libraries itself, and a cached reference would
// have to be released during process detach, when oleaut32 may be gone.
HRESULT loadModuleTypeInfo(REFIID iid, ITypeInfo** info) noexcept {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    vexa::ComPtr<ITypeLib> library;
    const HRESULT loaded = loadModuleTypeLibrary(library.put());
    if (FAILED(loaded)) return loaded;
    return library->GetTypeInfoOfGuid(iid, info);
}
