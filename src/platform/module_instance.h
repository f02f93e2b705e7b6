// The module this code is linked into, for finding what is compiled into
// that module's file (its resources). Windows only.
#pragma once

#ifdef _WIN32

#include "platform/com.h"

// Kept from the module's process attach.
void rememberModuleInstance(HINSTANCE instance) noexcept;
// The handle kept at process attach; before that, the module's handle as
// the loader knows it.
HINSTANCE moduleInstance() noexcept;

#endif
