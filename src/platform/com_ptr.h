// A counted COM interface pointer: copying adds a reference, destruction
// releases it. Not a unique resource, but it speaks the same verbs
// (platform/unique_resource.h): reset(p) and release() take over and give up
// a reference the caller owns, where the constructor from T* shares one.
#pragma once

#include <cstddef>
#include <utility>

#include "platform/com.h"

namespace vexa {

// Declared again, with its default, in com_error.h: that header includes
// this one, so the exception itself cannot be known here.
[[noreturn]] void throwComError(HRESULT result, const IID& iid);

template <class T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Shares `p`: adds a reference.
    explicit ComPtr(T* p) noexcept : p_(p) {
        if (p_ != nullptr) p_->AddRef();
    }
    ComPtr(const ComPtr& other) noexcept : ComPtr(other.p_) {}
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ~ComPtr() { reset(); }

    ComPtr& operator=(const ComPtr& other) noexcept {
        ComPtr(other).swap(*this);  // the new reference is counted before the old one goes
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept {
        ComPtr(std::move(other)).swap(*this);
        return *this;
    }

    // Gives up the reference held, to the caller.
    T* release() noexcept { return std::exchange(p_, nullptr); }
    // Releases what is held and takes over a reference the caller owns.
    void reset(T* p = nullptr) noexcept {
        if (T* old = std::exchange(p_, p)) old->Release();
    }
    // For out-parameters: releases what is held and hands out the slot.
    T** put() noexcept {
        reset();
        return &p_;
    }
    void** putVoid() noexcept { return reinterpret_cast<void**>(put()); }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    T& operator*() const noexcept { return *p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }

    // The object's interface U, or an empty pointer when it has none.
    template <class U>
    ComPtr<U> tryQuery() const noexcept {
        ComPtr<U> result;
        if (p_ != nullptr && FAILED(p_->QueryInterface(interfaceId<U>(), result.putVoid()))) result.reset();
        return result;
    }

    // The object's interface U: ComError(E_POINTER) for an empty pointer,
    // ComError(E_NOINTERFACE) when the object has no U, both with U's
    // identifier.
    template <class U>
    ComPtr<U> query() const {
        if (p_ == nullptr) throwComError(E_POINTER, interfaceId<U>());
        ComPtr<U> result = tryQuery<U>();
        if (!result) throwComError(E_NOINTERFACE, interfaceId<U>());
        return result;
    }

    void swap(ComPtr& other) noexcept { std::swap(p_, other.p_); }

    friend bool operator==(const ComPtr& a, const ComPtr& b) noexcept { return a.p_ == b.p_; }
    friend bool operator==(const ComPtr& a, std::nullptr_t) noexcept { return a.p_ == nullptr; }

private:
    T* p_ = nullptr;
};

}  // namespace vexa
