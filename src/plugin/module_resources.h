// The Windows module's own file and what is compiled into it: the handle
// kept from process attach, the file's path and the type library resource.
#pragma once

#ifdef _WIN32

#include <array>

#include "contract/plugin_interfaces.h"
#include "platform/com.h"

void rememberModuleInstance(HINSTANCE instance) noexcept;
// The handle kept at process attach; before that, the module's handle as the
// loader knows it.
HINSTANCE moduleInstance() noexcept;

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
