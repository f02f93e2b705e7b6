#include "plugin/module_lock.h"

#include <atomic>

namespace {
// Exports may be called on any thread, so unlike the objects' own reference
// counts this one is atomic.
std::atomic<LONG> lockCount{0};
}  // namespace

void lockModule() noexcept { ++lockCount; }
void unlockModule() noexcept { --lockCount; }
LONG moduleLockCount() noexcept { return lockCount.load(); }
