// A loaded module (LoadLibrary / dlopen), unloaded when the owner ends.
#pragma once

#include <string>

#include "platform/unique_resource.h"

namespace vexa {

struct LibraryTraits {
    using Handle = void*;
    static constexpr Handle empty() noexcept { return nullptr; }
    static void close(Handle module) noexcept;  // FreeLibrary / dlclose
};

class DynamicLibrary : public UniqueResource<LibraryTraits> {
public:
    DynamicLibrary() noexcept = default;
    // Throws std::runtime_error naming the file and the system's reason.
    static DynamicLibrary open(const std::string& path);
    // The module that this process has already loaded under `name` (a file
    // name, or a full path), with a reference of our own; an empty owner
    // when there is none. Never loads anything.
    static DynamicLibrary openLoaded(const std::string& name);

    // The exported function or object, or null when the module has none.
    void* symbol(const char* name) const noexcept;
    template <class F>
    F function(const char* name) const noexcept {
        return reinterpret_cast<F>(symbol(name));
    }
};

// The folder (with a trailing separator) of the module that contains `address`.
std::string moduleFolderOf(const void* address);

// The platform's file name of a shared library called `base`
// ("base.dll" or "base.so").
std::string sharedLibraryName(const std::string& base);

}  // namespace vexa
