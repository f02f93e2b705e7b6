// Watches the size of single allocations: a device must not size a buffer
// by a length it has not checked. The replacement operator new lives in its
// own file so the compiler cannot pair it with the library's delete.
#pragma once

#include <atomic>
#include <cstddef>

extern std::atomic<bool> watchAllocations;
extern std::atomic<std::size_t> largestAllocation;
