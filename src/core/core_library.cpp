#include "core/core_library.h"

#include <stdexcept>
#include <utility>

#if defined(__SANITIZE_ADDRESS__)
#define VEXA_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VEXA_LEAK_CHECKED 1
#endif
#endif
#ifdef VEXA_LEAK_CHECKED
#include <sanitizer/lsan_interface.h>
#endif

namespace Nerova::RT::Core {

namespace {

const char moduleAnchor = 0;  // an address inside this module

// Kept for the life of the process on purpose. The leak checker is told so:
// once the module that made it is unloaded, nothing points at it any more.
template <class T>
T* keptForever(T* object) noexcept {
#ifdef VEXA_LEAK_CHECKED
    __lsan_ignore_object(object);
#endif
    return object;
}

template <class F>
void resolve(const vexa::DynamicLibrary& module, const std::string& name, const char* function,
             F& slot) {
    slot = module.function<F>(function);
    if (slot == nullptr)
        throw std::runtime_error("the core-types library " + name + " has no function " + function);
}

}  // namespace

std::string CoreTypesLibrary::fileName() { return vexa::sharedLibraryName("nvrtcoretypes-64-1"); }

CoreTypesLibrary CoreTypesLibrary::bind(vexa::DynamicLibrary module, const std::string& name) {
    CoreTypesLibrary library;
    library.module_ = std::move(module);
    const auto& m = library.module_;
    resolve(m, name, "createString", library.createString);
    resolve(m, name, "nvRtGetErrorInfo", library.getErrorInfo);
    resolve(m, name, "nvRtClearErrorInfo", library.clearErrorInfo);
    resolve(m, name, "nvRtDuplicateCharPtr", library.duplicateCharPtr);
    return library;
}

CoreTypesLibrary CoreTypesLibrary::load(const std::string& path) {
    vexa::DynamicLibrary module;
    try {
        module = vexa::DynamicLibrary::open(path);
    } catch (const std::runtime_error& e) {
        throw std::runtime_error("the core-types library is not available: " + std::string(e.what()));
    }
    return bind(std::move(module), path);
}

const CoreTypesLibrary& CoreTypesLibrary::get() {
    // The host's copy comes first: a second copy would keep per-thread error
    // infos of its own, so the host's messages would never reach checkResult,
    // and the texts that toString hands to the host would belong to a
    // library the host does not free them with. A loaded copy that lacks a
    // function is not passed over: loading another copy is worse.
    //
    // Never freed: our statics are destroyed when the module detaches from
    // the process, under the loader lock, where FreeLibrary must not be
    // called. The reference goes with the process.
    static const CoreTypesLibrary& library = *keptForever(new CoreTypesLibrary([] {
        const std::string name = fileName();
        if (auto loaded = vexa::DynamicLibrary::openLoaded(name))
            return bind(std::move(loaded), name);
        try {
            return load(name);
        } catch (const std::runtime_error&) {
            return load(vexa::moduleFolderOf(&moduleAnchor) + name);
        }
    }()));
    return library;
}

}  // namespace Nerova::RT::Core
