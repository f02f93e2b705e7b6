// Holders of core interface pointers.
#pragma once

#include <string>
#include <utility>

#include "contract/core_interfaces.h"

namespace Nerova::RT::Core {

// A counted core interface pointer. Not a unique resource, but it speaks
// the same verbs as vexa::UniqueResource: reset(p) and release() take over
// and give up a reference the caller owns; copying adds one.
template <class I>
class ObjectPtr {
public:
    ObjectPtr() noexcept = default;
    ObjectPtr(const ObjectPtr& other) noexcept : ptr(other.ptr) {
        if (ptr != nullptr) ptr->addRef();
    }
    ObjectPtr(ObjectPtr&& other) noexcept : ptr(other.release()) {}
    ObjectPtr& operator=(ObjectPtr other) noexcept {
        swap(other);
        return *this;
    }
    virtual ~ObjectPtr() { reset(); }

    I* get() const noexcept { return ptr; }
    I* operator->() const noexcept { return ptr; }
    explicit operator bool() const noexcept { return ptr != nullptr; }

    // For out-parameters: drops what is held and hands out the slot.
    I** put() noexcept {
        reset();
        return &ptr;
    }
    I* release() noexcept { return std::exchange(ptr, nullptr); }
    void reset(I* p = nullptr) noexcept {
        if (I* old = std::exchange(ptr, p)) old->release();
    }
    void swap(ObjectPtr& other) noexcept { std::swap(ptr, other.ptr); }

private:
    I* ptr = nullptr;
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
