#include "support/allocation_watch.h"

#include <cstdlib>
#include <new>

std::atomic<bool> watchAllocations{false};
std::atomic<std::size_t> largestAllocation{0};

void* operator new(std::size_t size) {
    if (watchAllocations.load(std::memory_order_relaxed)) {
        std::size_t seen = largestAllocation.load();
        while (size > seen && !largestAllocation.compare_exchange_weak(seen, size)) {
        }
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
