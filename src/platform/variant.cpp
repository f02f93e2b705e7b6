#include "platform/variant.h"

namespace vexa {

namespace {

// The place of the value `value` holds when its type, without the
// by-reference flag, is one that `accepts`: inside the VARIANT itself, or
// where its reference points. Null when the type is another or the
// reference is null.
template <class Accepts>
const void* valuePlace(const VARIANT& value, Accepts accepts) noexcept {
    const VARIANT* held = &value;
    if (held->vt == (VT_VARIANT | VT_BYREF)) {
        held = held->pvarVal;
        // A reference to a reference is not a value; it is not followed.
        if (held == nullptr || held->vt == (VT_VARIANT | VT_BYREF)) return nullptr;
    }
    if (!accepts(static_cast<VARTYPE>(held->vt & ~VT_BYREF))) return nullptr;
    // Every member of the value union starts at the same address.
    if ((held->vt & VT_BYREF) == 0) return &held->byref;
    return held->byref;
}

template <class T, class Accepts>
const T* valueIn(const VARIANT& value, Accepts accepts) noexcept {
    return static_cast<const T*>(valuePlace(value, accepts));
}

}  // namespace

IUnknown* interfaceIn(const VARIANT& value) noexcept {
    const auto* object = valueIn<IUnknown*>(value, [](VARTYPE vt) { return vt == VT_UNKNOWN || vt == VT_DISPATCH; });
    return object != nullptr ? *object : nullptr;
}

SAFEARRAY* arrayIn(const VARIANT& value) noexcept {
    const auto* array = valueIn<SAFEARRAY*>(value, [](VARTYPE vt) { return (vt & VT_ARRAY) != 0; });
    return array != nullptr ? *array : nullptr;
}

std::optional<VARIANT_BOOL> boolIn(const VARIANT& value) noexcept {
    const auto* flag = valueIn<VARIANT_BOOL>(value, [](VARTYPE vt) { return vt == VT_BOOL; });
    if (flag == nullptr) return std::nullopt;
    return *flag;
}

}  // namespace vexa
