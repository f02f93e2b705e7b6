#include "platform/dynamic_library.h"

#include <stdexcept>

#include "platform/com.h"
#include "platform/text.h"

#ifndef _WIN32
#include <dlfcn.h>
#endif

namespace vexa {

#ifdef _WIN32

DynamicLibrary DynamicLibrary::open(const std::string& path) {
    DynamicLibrary library;
    library.reset(LoadLibraryW(utf8ToWide(path).c_str()));
    if (!library)
        throw std::runtime_error("cannot load " + path + " (error " + std::to_string(GetLastError()) + ")");
    return library;
}

DynamicLibrary DynamicLibrary::openLoaded(const std::string& name) {
    // Without GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT the module gains
    // the reference that the destructor gives back.
    DynamicLibrary library;
    HMODULE module = nullptr;
    if (GetModuleHandleExW(0, utf8ToWide(name).c_str(), &module)) library.reset(module);
    return library;
}

void LibraryTraits::close(Handle module) noexcept { FreeLibrary(static_cast<HMODULE>(module)); }

void* DynamicLibrary::symbol(const char* name) const noexcept {
    if (!*this) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(get()), name));
}

std::string moduleFolderOf(const void* address) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCWSTR>(address), &module))
        return {};
    wchar_t path[2048];
    const DWORD length = GetModuleFileNameW(module, path, 2048);
    std::string text = wideToUtf8(WideView(path, length));
    const auto slash = text.find_last_of("\\/");
    return slash == std::string::npos ? std::string{} : text.substr(0, slash + 1);
}

std::string sharedLibraryName(const std::string& base) { return base + ".dll"; }

#else

DynamicLibrary DynamicLibrary::open(const std::string& path) {
    DynamicLibrary library;
    library.reset(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL));
    if (!library) {
        const char* reason = dlerror();
        throw std::runtime_error("cannot load " + path + " (" + (reason ? reason : "unknown reason") + ")");
    }
    return library;
}

DynamicLibrary DynamicLibrary::openLoaded(const std::string& name) {
    // A bare file name matches a loaded module by the name it was loaded
    // under or by its soname; the handle counts as a reference.
    DynamicLibrary library;
    library.reset(dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD));
    if (!library) dlerror();  // clear the failure, it is an answer
    return library;
}

void LibraryTraits::close(Handle module) noexcept { dlclose(module); }

void* DynamicLibrary::symbol(const char* name) const noexcept {
    return !*this ? nullptr : dlsym(get(), name);
}

std::string moduleFolderOf(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return {};
    std::string text = info.dli_fname;
    const auto slash = text.find_last_of('/');
    return slash == std::string::npos ? std::string{} : text.substr(0, slash + 1);
}

std::string sharedLibraryName(const std::string& base) { return base + ".so"; }

#endif

}  // namespace vexa
