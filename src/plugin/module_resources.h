// The Windows module's own file and what is compiled into it: the handle
// kept from process attach, the file's path and the type library resource.
#pragma once

#ifdef _WIN32

#include <array>

#include "platform/com.h"

// The library in the module's "TYPELIB" 1 resource (vexa_plugin.idl). Fixed
// for good, like the class and interface identifiers it describes.
inline constexpr GUID LIBID_VexaPluginLib = {
    0x79115CD9, 0x0532, 0x4A3B, {0xA9, 0xB4, 0x59, 0xB4, 0xAB, 0x0E, 0x65, 0x3A}};

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
