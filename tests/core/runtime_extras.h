// What only tests use of our core-types runtime: making an error info and
// leaving it for the thread, and freeing the texts that toString hands out.
// The plug-in binds none of these: a host's library need not export them.
#pragma once

#include <stdexcept>

#include "core/core_library.h"
#include "platform/dynamic_library.h"

namespace vexa::test {

struct RuntimeExtras {
    using ErrCode = Nerova::RT::Core::ErrCode;
    using IErrorInfo = Nerova::RT::Core::IErrorInfo;
    ErrCode (*createErrorInfo)(IErrorInfo** info) = nullptr;
    void (*setErrorInfo)(IErrorInfo* info) = nullptr;
    void (*freeMemory)(void* memory) = nullptr;
};

// Resolved from the copy of the runtime that the plug-in's binding uses.
inline const RuntimeExtras& runtimeExtras() {
    static const RuntimeExtras extras = [] {
        using Nerova::RT::Core::CoreTypesLibrary;
        CoreTypesLibrary::get();
        static const auto module = DynamicLibrary::openLoaded(CoreTypesLibrary::fileName());
        RuntimeExtras found;
        found.createErrorInfo = module.function<decltype(found.createErrorInfo)>("createErrorInfo");
        found.setErrorInfo = module.function<decltype(found.setErrorInfo)>("nvRtSetErrorInfo");
        found.freeMemory = module.function<decltype(found.freeMemory)>("nvRtFreeMemory");
        if (!found.createErrorInfo || !found.setErrorInfo || !found.freeMemory)
            throw std::runtime_error("the core-types runtime lacks its test exports");
        return found;
    }();
    return extras;
}

}  // namespace vexa::test
