// The host's core-types library, loaded on first use by name (never
// imported at load time, so that the plug-in loads without it).
#pragma once

#include <string>

#include "contract/core_interfaces.h"
#include "platform/dynamic_library.h"

namespace Nerova::RT::Core {

class CoreTypesLibrary {
public:
    // "nvrtcoretypes-64-1.dll" on Windows, "nvrtcoretypes-64-1.so" on Linux.
    static std::string fileName();

    // The process-wide library, bound on first use to the copy that the
    // process has already loaded (the host's), else to the one the system's
    // search finds, else to the one beside this module. Throws
    // std::runtime_error, naming the file, when none can be bound; a failed
    // attempt is not remembered.
    static const CoreTypesLibrary& get();

    // Loads the library from `path`; the same errors as get().
    static CoreTypesLibrary load(const std::string& path);

    CreateStringFunc createString = nullptr;
    GetErrorInfoFunc getErrorInfo = nullptr;
    ClearErrorInfoFunc clearErrorInfo = nullptr;
    DuplicateCharPtrFunc duplicateCharPtr = nullptr;

private:
    static CoreTypesLibrary bind(vexa::DynamicLibrary module, const std::string& name);

    vexa::DynamicLibrary module_;
};

}  // namespace Nerova::RT::Core
