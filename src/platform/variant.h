// Owners of VARIANT and SAFEARRAY, and a lock scope for reading arrays.
// A VARIANT is a value, not a handle: Variant keeps it in place (put() must
// hand out a stable address) and speaks the verbs of UniqueResource.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "platform/com.h"
#include "platform/com_error.h"
#include "platform/unique_resource.h"

namespace vexa {

class Bstr;

class Variant {
public:
    Variant() noexcept { VariantInit(&v_); }
    ~Variant() { VariantClear(&v_); }
    Variant(Variant&& other) noexcept : v_(other.release()) {}
    Variant& operator=(Variant&& other) noexcept {
        reset(other.release());
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
    // Clears what is held and takes over `value`.
    void reset(VARIANT value) noexcept {
        VariantClear(&v_);
        v_ = value;
    }
    void reset() noexcept { VariantClear(&v_); }
    void swap(Variant& other) noexcept { std::swap(v_, other.v_); }
    // Holds anything but VT_EMPTY.
    explicit operator bool() const noexcept { return v_.vt != VT_EMPTY; }

private:
    VARIANT v_;
};

struct SafeArrayTraits {
    using Handle = SAFEARRAY*;
    static constexpr Handle empty() noexcept { return nullptr; }
    static void close(Handle array) noexcept { SafeArrayDestroy(array); }
};

// The owner of a SAFEARRAY; destruction destroys it (it must be unlocked).
class SafeArray : public UniqueResource<SafeArrayTraits> {
public:
    SafeArray() noexcept = default;
    // Takes over an array handed to us.
    explicit SafeArray(SAFEARRAY* array) noexcept : UniqueResource(array) {}
    // A vector of `count` elements of `vt` starting at `lowerBound`.
    SafeArray(VARTYPE vt, LONG lowerBound, ULONG count);
    static SafeArray copyOf(SAFEARRAY* source);
};

// The VARTYPE of a SAFEARRAY whose elements are E's.
template <class E>
struct SafeArrayElement;
template <>
struct SafeArrayElement<VARIANT> {
    static constexpr VARTYPE type = VT_VARIANT;
};
template <>
struct SafeArrayElement<LONG> {
    static constexpr VARTYPE type = VT_I4;
};
template <>
struct SafeArrayElement<BYTE> {
    static constexpr VARTYPE type = VT_UI1;
};

// The bounds and the data of a vector held open by SafeArrayAccessData.
struct SafeArrayAccess {
    void* data = nullptr;
    LONG lower = 0;
    LONG upper = -1;
};
// Checks that `array` is a vector of `elementType` elements of `elementSize`
// bytes and opens its data; see SafeArrayLock for what it raises.
SafeArrayAccess accessVector(SAFEARRAY* array, VARTYPE elementType, std::size_t elementSize);

// Holds a one-dimensional array of E's open for the scope: its elements as
// a span, and one by one at the array's own indices, whatever its lower
// bound. A null array, another number of dimensions or another element type
// raise ComError(E_INVALIDARG) at construction, as does an index out of
// bounds in at(); a failing array call raises its own result.
template <class E>
class SafeArrayLock {
public:
    explicit SafeArrayLock(SAFEARRAY* array)
        : array_(array), access_(accessVector(array, SafeArrayElement<E>::type, sizeof(E))) {}
    ~SafeArrayLock() { SafeArrayUnaccessData(array_); }
    SafeArrayLock(const SafeArrayLock&) = delete;
    SafeArrayLock& operator=(const SafeArrayLock&) = delete;

    LONG lowerBound() const noexcept { return access_.lower; }
    LONG upperBound() const noexcept { return access_.upper; }
    std::size_t size() const noexcept { return static_cast<std::size_t>(std::int64_t{access_.upper} - access_.lower + 1); }
    bool contains(LONG index) const noexcept { return index >= access_.lower && index <= access_.upper; }

    // All elements, the one at lowerBound() first.
    std::span<E> elements() const noexcept { return {static_cast<E*>(access_.data), size()}; }
    E& at(LONG index) const {
        if (!contains(index)) throwComError(E_INVALIDARG);
        return elements()[static_cast<std::size_t>(std::int64_t{index} - access_.lower)];
    }

private:
    SAFEARRAY* array_;
    SafeArrayAccess access_;
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
