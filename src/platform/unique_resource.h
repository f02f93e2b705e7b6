// The one move-only owner of a handle. `Traits` says what the handle is and
// how it is given back:
//
//   struct Traits {
//       using Handle = ...;                          // cheap to copy
//       static Handle empty() noexcept;              // the value owning nothing
//       static void close(Handle handle) noexcept;   // never called with empty()
//   };
//
// Every owner of ours speaks the same verbs, the counted pointers included:
// get() lends the handle, put() frees what is held and hands out the slot
// for an out-parameter, release() gives up ownership, reset(h) frees what is
// held and takes over `h`, swap() and an explicit bool tell or trade the rest.
#pragma once

#include <utility>

namespace vexa {

template <class Traits>
class UniqueResource {
public:
    using Handle = typename Traits::Handle;

    UniqueResource() noexcept = default;
    // Takes over `handle`.
    explicit UniqueResource(Handle handle) noexcept : handle_(handle) {}
    UniqueResource(UniqueResource&& other) noexcept : handle_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    ~UniqueResource() { reset(); }

    Handle get() const noexcept { return handle_; }
    Handle* put() noexcept {
        reset();
        return &handle_;
    }
    Handle release() noexcept { return std::exchange(handle_, Traits::empty()); }
    void reset(Handle handle = Traits::empty()) noexcept {
        const Handle old = std::exchange(handle_, handle);
        if (old != Traits::empty()) Traits::close(old);
    }
    void swap(UniqueResource& other) noexcept { std::swap(handle_, other.handle_); }
    explicit operator bool() const noexcept { return handle_ != Traits::empty(); }

private:
    Handle handle_ = Traits::empty();
};

}  // namespace vexa
