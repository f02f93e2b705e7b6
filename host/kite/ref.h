// A counted pointer to anything with addRef and release: the core
// interfaces and the toolkit's own objects.
#pragma once

#include <concepts>
#include <cstddef>
#include <utility>

namespace vexa::kite {

template <class T>
class Ref {
public:
    Ref() noexcept = default;
    Ref(std::nullptr_t) noexcept {}
    Ref(const Ref& other) noexcept : Ref(share(other.p_)) {}
    Ref(Ref&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    template <class U>
        requires std::convertible_to<U*, T*>
    Ref(const Ref<U>& other) noexcept : Ref(share(other.get())) {}
    Ref& operator=(Ref other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~Ref() { reset(); }

    // Takes over a reference the caller owns.
    static Ref adopt(T* p) noexcept {
        Ref held;
        held.p_ = p;
        return held;
    }
    // Takes a reference of its own.
    static Ref share(T* p) noexcept {
        if (p != nullptr) p->addRef();
        return adopt(p);
    }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    T& operator*() const noexcept { return *p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }

    // For out-parameters: drops what is held and hands out the slot.
    T** put() noexcept {
        reset();
        return &p_;
    }
    T* release() noexcept { return std::exchange(p_, nullptr); }
    void reset() noexcept {
        if (T* old = std::exchange(p_, nullptr)) old->release();
    }

    friend bool operator==(const Ref& a, const Ref& b) noexcept { return a.p_ == b.p_; }

private:
    T* p_ = nullptr;
};

// A new toolkit object held by the one reference it starts with.
template <class T, class... Args>
Ref<T> make(Args&&... args) {
    return Ref<T>::adopt(new T(std::forward<Args>(args)...));
}

}  // namespace vexa::kite
