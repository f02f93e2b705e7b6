// Holders of core interface pointers.
#pragma once

#include <string>
#include <utility>

#include "contract/core_interfaces.h"

namespace Nerova::RT::Core {

template <class I>
class ObjectPtr {
public:
    ObjectPtr() noexcept = default;
    // Takes over the caller's reference.
    static ObjectPtr adopt(I* p) noexcept { return ObjectPtr(p, false); }
    // Uses `p` without ever releasing it.
    static ObjectPtr borrow(I* p) noexcept { return ObjectPtr(p, true); }

    ObjectPtr(const ObjectPtr& other) noexcept : ptr(other.ptr) {
        if (ptr != nullptr) ptr->addRef();
    }
    ObjectPtr(ObjectPtr&& other) noexcept
        : ptr(std::exchange(other.ptr, nullptr)), borrowed(std::exchange(other.borrowed, false)) {}
    ObjectPtr& operator=(ObjectPtr other) noexcept {
        std::swap(ptr, other.ptr);
        std::swap(borrowed, other.borrowed);
        return *this;
    }
    virtual ~ObjectPtr() {
        if (ptr != nullptr && !borrowed) ptr->release();
    }

    I* get() const noexcept { return ptr; }
    I* operator->() const noexcept { return ptr; }
    explicit operator bool() const noexcept { return ptr != nullptr; }
    bool isBorrowed() const noexcept { return borrowed != 0; }

    // For out-parameters: drops what is held and hands out the slot.
    I** put() noexcept {
        ObjectPtr().swapWith(*this);
        return &ptr;
    }

protected:
    ObjectPtr(I* p, bool isBorrowed) noexcept : ptr(p), borrowed(isBorrowed ? 1 : 0) {}

private:
    void swapWith(ObjectPtr& other) noexcept {
        std::swap(ptr, other.ptr);
        std::swap(borrowed, other.borrowed);
    }

    I* ptr = nullptr;
    std::uint8_t borrowed = 0;
};

// A core string.
class StringPtr : public ObjectPtr<IString> {
public:
    StringPtr() noexcept = default;
    // Makes a core string through the core-types library; a failing status
    // raises its class with the class's default message.
    explicit StringPtr(const std::string& text);
    StringPtr(ObjectPtr<IString> other) noexcept : ObjectPtr<IString>(std::move(other)) {}

    // The text, or an empty text for an empty holder.
    std::string toStdString() const;
};

}  // namespace Nerova::RT::Core
