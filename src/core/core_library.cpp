#include "core/core_library.h"

#include <stdexcept>

namespace Nerova::RT::Core {

namespace {

const char moduleAnchor = 0;  // an address inside this module

template <class F>
void resolve(const vexa::DynamicLibrary& module, const std::string& path, const char* name, F& slot) {
    slot = module.function<F>(name);
    if (slot == nullptr)
        throw std::runtime_error("the core-types library " + path + " has no function " + name);
}

}  // namespace

std::string CoreTypesLibrary::fileName() { return vexa::sharedLibraryName("nvrtcoretypes-64-1"); }

CoreTypesLibrary CoreTypesLibrary::load(const std::string& path) {
    CoreTypesLibrary library;
    try {
        library.module_ = vexa::DynamicLibrary::open(path);
    } catch (const std::runtime_error& e) {
        throw std::runtime_error("the core-types library is not available: " + std::string(e.what()));
    }
    const auto& m = library.module_;
    resolve(m, path, "createString", library.createString);
    resolve(m, path, "nvRtGetErrorInfo", library.getErrorInfo);
    resolve(m, path, "nvRtClearErrorInfo", library.clearErrorInfo);
    resolve(m, path, "nvRtDuplicateCharPtr", library.duplicateCharPtr);
    resolve(m, path, "nvRtFreeMemory", library.freeMemory);
    resolve(m, path, "createErrorInfo", library.createErrorInfo);
    resolve(m, path, "nvRtSetErrorInfo", library.setErrorInfo);
    return library;
}

const CoreTypesLibrary& CoreTypesLibrary::get() {
    // A failed load is not remembered: the next use tries again.
    static const CoreTypesLibrary library = [] {
        const std::string besideUs = vexa::moduleFolderOf(&moduleAnchor) + fileName();
        try {
            return load(besideUs);
        } catch (const std::runtime_error&) {
            return load(fileName());
        }
    }();
    return library;
}

}  // namespace Nerova::RT::Core
