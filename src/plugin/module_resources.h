// The Windows module's own file and what is compiled into it: the file's
// path and the type library resource.
#pragma once

#ifdef _WIN32

#include <array>

#include "contract/plugin_interfaces.h"
#include "platform/com.h"
#include "platform/module_instance.h"

// The longest module path the registration writes, in characters.
inline constexpr DWORD maxModulePathLength = 2048;
using ModulePath = std::array<OLECHAR, maxModulePathLength + 1>;

// The module's full path as the system reports it, NUL-terminated; a
// failure when the system cannot give it or it does not fit.
HRESULT moduleFileName(ModulePath& path) noexcept;

// The module's type library, loaded from its own file without registering.
HRESULT loadModuleTypeLibrary(ITypeLib** library) noexcept;

// The type information that the library holds for `iid` (for a dual
// interface: its dispatch part).
HRESULT loadModuleTypeInfo(REFIID iid, ITypeInfo** info) noexcept;

#endif
