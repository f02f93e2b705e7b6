// Counts the heap allocations this thread makes while a watch is open, and
// keeps the largest: a data step must not allocate at all, and a device must
// not size a buffer by a length it has not checked. Other threads (an
// in-process simulator, say) are not counted. The replacement operator new
// lives in its own file so the compiler cannot pair it with the library's
// delete.
#pragma once

#include <cstddef>

class AllocationWatch {
public:
    AllocationWatch() noexcept;
    ~AllocationWatch();
    AllocationWatch(const AllocationWatch&) = delete;
    AllocationWatch& operator=(const AllocationWatch&) = delete;

    // Allocations since the watch opened, and the largest of them in bytes.
    std::size_t count() const noexcept;
    std::size_t largest() const noexcept;
};
