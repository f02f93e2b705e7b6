#include "plugin/module_resources.h"

#include <atomic>

#include "platform/com_ptr.h"

namespace {

std::atomic<HINSTANCE> rememberedInstance{nullptr};

}  // namespace

void rememberModuleInstance(HINSTANCE instance) noexcept { rememberedInstance = instance; }

HINSTANCE moduleInstance() noexcept {
    if (HINSTANCE instance = rememberedInstance.load()) return instance;
    // Any address inside this module names it.
    static const char anchor = 0;
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&anchor), &module);
    return module;
}

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
