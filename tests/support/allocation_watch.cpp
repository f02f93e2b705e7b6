#include "support/allocation_watch.h"

#include <cstdlib>
#include <new>

namespace {

// Plain thread-locals: no constructor runs inside operator new.
thread_local bool watching = false;
thread_local std::size_t allocations = 0;
thread_local std::size_t largestSize = 0;

}  // namespace

AllocationWatch::AllocationWatch() noexcept {
    allocations = 0;
    largestSize = 0;
    watching = true;
}

AllocationWatch::~AllocationWatch() {
    watching = false;
}

std::size_t AllocationWatch::count() const noexcept {
    return allocations;
}

std::size_t AllocationWatch::largest() const noexcept {
    return largestSize;
}

void* operator new(std::size_t size) {
    if (watching) {
        ++allocations;
        if (size > largestSize) largestSize = size;
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
