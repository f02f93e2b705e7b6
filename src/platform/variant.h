// Owners of VARIANT and SAFEARRAY, and a lock scope for reading arrays.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "platform/com.h"
#include "platform/com_error.h"

namespace vexa {

class Bstr;

class Variant {
public:
    Variant() noexcept { VariantInit(&v_); }
    ~Variant() { VariantClear(&v_); }
    Variant(Variant&& other) noexcept : v_(other.v_) { VariantInit(&other.v_); }
    Variant& operator=(Variant&& other) noexcept {
        if (this != &other) {
            VariantClear(&v_);
            v_ = other.v_;
            VariantInit(&other.v_);
        }
        return *this;
    }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    static Variant ofInt32(std::int32_t value);
    static Variant ofUInt32(std::uint32_t value);
    static Variant ofInt16(std::int16_t value);
    static Variant ofDouble(double value);
    static Variant ofBool(bool value);
    static Variant ofString(Bstr text);
    static Variant ofUnknown(IUnknown* object);  // adds a reference
    static Variant ofDispatch(IDispatch* object);  // adds a reference
    static Variant ofArray(class SafeArray array);  // VT_ARRAY of the array's element type
    // A VT_ARRAY | VT_I4 vector from index 0, as lists of integers travel.
    static Variant ofInt32Array(std::span<const std::int32_t> values);
    // A deep copy (VariantCopy).
    static Variant copyOf(const VARIANT& source);

    VARIANT* get() noexcept { return &v_; }
    const VARIANT* get() const noexcept { return &v_; }
    VARIANT* put() noexcept {
        VariantClear(&v_);
        return &v_;
    }
    VARTYPE type() const noexcept { return v_.vt; }
    VARIANT release() noexcept {
        VARIANT out = v_;
        VariantInit(&v_);
        return out;
    }

private:
    VARIANT v_;
};

// The owner of a SAFEARRAY; destruction destroys it (it must be unlocked).
class SafeArray {
public:
    SafeArray() noexcept = default;
    // A vector of `count` elements of `vt` starting at `lowerBound`.
    SafeArray(VARTYPE vt, LONG lowerBound, ULONG count);
    static SafeArray attach(SAFEARRAY* array) noexcept {
        SafeArray a;
        a.array_ = array;
        return a;
    }
    static SafeArray copyOf(SAFEARRAY* source);

    SafeArray(SafeArray&& other) noexcept : array_(std::exchange(other.array_, nullptr)) {}
    SafeArray& operator=(SafeArray&& other) noexcept {
        SafeArray(std::move(other)).swap(*this);
        return *this;
    }
    SafeArray(const SafeArray&) = delete;
    SafeArray& operator=(const SafeArray&) = delete;
    ~SafeArray() { SafeArrayDestroy(array_); }

    SAFEARRAY* get() const noexcept { return array_; }
    SAFEARRAY* release() noexcept { return std::exchange(array_, nullptr); }
    void swap(SafeArray& other) noexcept { std::swap(array_, other.array_); }
    explicit operator bool() const noexcept { return array_ != nullptr; }

private:
    SAFEARRAY* array_ = nullptr;
};

// Locks a one-dimensional array of a known element type for the scope and
// checks every index against its real bounds. Any failed check raises
// ComError(E_INVALIDARG); a failing array call raises its own result.
class SafeArrayLock {
public:
    SafeArrayLock(SAFEARRAY* array, VARTYPE elementType);
    ~SafeArrayLock() { SafeArrayUnlock(array_); }
    SafeArrayLock(const SafeArrayLock&) = delete;
    SafeArrayLock& operator=(const SafeArrayLock&) = delete;

    LONG lowerBound() const noexcept { return lower_; }
    LONG upperBound() const noexcept { return upper_; }
    std::int64_t size() const noexcept { return std::int64_t{upper_} - lower_ + 1; }
    bool contains(LONG index) const noexcept { return index >= lower_ && index <= upper_; }

    template <class E>
    E& at(LONG index) const {
        return *static_cast<E*>(element(index, sizeof(E)));
    }

private:
    void* element(LONG index, std::size_t size) const;

    SAFEARRAY* array_;
    LONG lower_ = 0;
    LONG upper_ = -1;
};

// The integers of a VT_ARRAY | VT_I4 value, whatever its lower bound; any
// other value raises ComError(E_INVALIDARG).
std::vector<std::int32_t> int32ArrayOf(const VARIANT& value);

// What a VARIANT that the host hands in holds, read by one rule: a value
// held by reference is read through its pointer (a null pointer holds
// nothing), VT_VARIANT | VT_BYREF is followed once to the VARIANT it points
// at, and a value of any other type than the one asked for holds nothing.
// Nothing is copied and no reference is added: the results are borrowed
// from the VARIANT (or from what it points at).

// An object held as VT_UNKNOWN or VT_DISPATCH; null when there is none.
IUnknown* interfaceIn(const VARIANT& value) noexcept;
// An array of any element type; null when there is none.
SAFEARRAY* arrayIn(const VARIANT& value) noexcept;
// The 16 bits of a VT_BOOL, as the host set them.
std::optional<VARIANT_BOOL> boolIn(const VARIANT& value) noexcept;

}  // namespace vexa
