// A flag as the reference host keeps and answers it.
#pragma once

#include "platform/com.h"

namespace vexa::host {

// Any 16-bit value, not only the two proper ones, so that a test can hand
// the plug-in what a host might answer (1, 0x7FFF, ...). The host itself
// takes every value but 0 as set.
class HostFlag {
public:
    constexpr HostFlag() noexcept = default;
    constexpr HostFlag(bool set) noexcept : value_(set ? VARIANT_TRUE : VARIANT_FALSE) {}
    // A number is no flag: a raw value goes through answering().
    template <class T>
    HostFlag(T) = delete;

    static constexpr HostFlag answering(VARIANT_BOOL value) noexcept {
        HostFlag flag;
        flag.value_ = value;
        return flag;
    }

    constexpr operator bool() const noexcept { return value_ != VARIANT_FALSE; }
    constexpr VARIANT_BOOL answer() const noexcept { return value_; }

private:
    VARIANT_BOOL value_ = VARIANT_FALSE;
};

// A flag the plug-in hands the host: only the two proper values are flags.
// A host may compare with VARIANT_TRUE where this one takes any value but 0,
// so anything else is refused (E_INVALIDARG) where it is passed.
inline HRESULT takeFlag(VARIANT_BOOL value, bool& field) noexcept {
    if (value != VARIANT_TRUE && value != VARIANT_FALSE) return E_INVALIDARG;
    field = value == VARIANT_TRUE;
    return S_OK;
}

inline HRESULT takeFlag(VARIANT_BOOL value, HostFlag& field) noexcept {
    bool set = false;
    if (const HRESULT refused = takeFlag(value, set); FAILED(refused)) return refused;
    field = HostFlag(set);
    return S_OK;
}

}  // namespace vexa::host
