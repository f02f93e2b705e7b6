// The host's core-types library, loaded on first use by name (never
// imported at load time, so that the plug-in loads without it).
#pragma once

#include <string>

#include "core/core_interfaces.h"
#include "platform/dynamic_library.h"

namespace Nerova::RT::Core {

class CoreTypesLibrary {
public:
    // "nvrtcoretypes-64-1.dll" on Windows, "nvrtcoretypes-64-1.so" on Linux.
    static std::string fileName();

    // The process-wide library: looked for beside this module first, then on
    // the system's search path. Throws std::runtime_error, naming the file,
    // when it cannot be loaded or lacks an export.
    static const CoreTypesLibrary& get();

    // Loads the library from `path`; the same errors as get().
    static CoreTypesLibrary load(const std::string& path);

    CreateStringFunc createString = nullptr;
    GetErrorInfoFunc getErrorInfo = nullptr;
    ClearErrorInfoFunc clearErrorInfo = nullptr;
    DuplicateCharPtrFunc duplicateCharPtr = nullptr;
    FreeMemoryFunc freeMemory = nullptr;
    CreateErrorInfoFunc createErrorInfo = nullptr;
    SetErrorInfoFunc setErrorInfo = nullptr;

private:
    vexa::DynamicLibrary module_;
};

}  // namespace Nerova::RT::Core
