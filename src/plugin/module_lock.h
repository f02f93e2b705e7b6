// The module's lock count: live plug-in objects plus class factory locks.
// The module may be unloaded only while it is 0.
#pragma once

#include "platform/com.h"

void lockModule() noexcept;
void unlockModule() noexcept;
LONG moduleLockCount() noexcept;
