// A window's member function bound to one window object, as the toolkit's
// handlers call it, with an identity that survives copying: two bindings of
// the same function to the same object are the same handler, which is how
// the toolkit finds a handler again when it is removed.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>

namespace Nerova::Kite {

// 64-bit FNV-1a over the function's address, then the object's, each as 8
// bytes with the lowest first.
std::uint64_t identityHash(std::uint64_t functionAddress, std::uint64_t objectAddress) noexcept;

// The code address a member function pointer holds: its first word, which
// for a non-virtual member is the function's entry (both builds use the
// same member pointer layout).
template <class Method>
std::uint64_t memberFunctionAddress(Method method) noexcept {
    static_assert(sizeof(Method) >= sizeof(std::uint64_t));
    std::uint64_t address = 0;
    std::memcpy(&address, &method, sizeof address);
    return address;
}

template <class Sender, class Args>
struct HandlerDelegate {
    using Callable = std::function<void(const Sender& sender, const Args& args)>;

    Callable callable;
    std::uint64_t hash = 0;
};

// Binds `method` of `object`. The handler calls it only while `alive` reads
// true: a window clears its flag when it dies, and the toolkit may still
// hold the handler then, since windows never take their handlers back.
template <class Sender, class Args, class Object>
HandlerDelegate<Sender, Args> bindHandler(void (Object::*method)(const Sender&, const Args&), Object* object,
                                          std::shared_ptr<const bool> alive) {
    HandlerDelegate<Sender, Args> delegate;
    delegate.hash = identityHash(memberFunctionAddress(method), reinterpret_cast<std::uintptr_t>(object));
    delegate.callable = [method, object, alive = std::move(alive)](const Sender& sender, const Args& args) {
        if (alive && *alive) (object->*method)(sender, args);
    };
    return delegate;
}

}  // namespace Nerova::Kite
