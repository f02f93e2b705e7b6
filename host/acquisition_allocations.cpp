// vexa-host counts the heap allocations of each thread, so that a benchmark
// run can report what a data step allocates (`acquire --stats`). Counting
// costs one thread-local increment per allocation. The plug-in module's
// allocations land here too: on Linux the program's operator new takes the
// place of the library's for every module it loads.
#include <cstdint>
#include <cstdlib>
#include <new>

#include "host/acquisition_stats.h"

namespace {

thread_local std::uint64_t allocations = 0;

std::uint64_t threadAllocations() noexcept {
    return allocations;
}

// Installed before main runs.
const bool installed = (vexa::host::installAllocationCounter(&threadAllocations), true);

}  // namespace

void* operator new(std::size_t size) {
    ++allocations;
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
