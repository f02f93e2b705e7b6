// Self-registration of the Windows module: the COM class of Plugin, the
// host's plug-in key and the type library, per machine or per user.
#pragma once

#ifdef _WIN32

#include "platform/com.h"

// Writes the plug-in key and the class key, then registers the type
// library; only the type library decides the answer.
HRESULT registerPlugin() noexcept;

// Removes what registerPlugin wrote; only the type library decides the
// answer.
HRESULT unregisterPlugin() noexcept;

// DllInstall: "user" (in any case) switches to per-user registration for as
// long as the module stays loaded; then registers or unregisters. A failed
// registration is undone.
HRESULT installPlugin(bool install, const OLECHAR* commandLine) noexcept;

#endif
