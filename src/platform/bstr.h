// A BSTR owner: one string of the automation library, with UTF-8 in and out.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "platform/com.h"
#include "platform/text.h"

namespace vexa {

class Bstr {
public:
    Bstr() noexcept = default;
    // Throws ComError(E_OUTOFMEMORY) when the string cannot be allocated.
    explicit Bstr(std::string_view utf8);
    static Bstr fromWide(WideView text);
    static Bstr fromNarrow(std::string_view text);
    // Takes ownership of a BSTR handed to us.
    static Bstr attach(BSTR text) noexcept {
        Bstr s;
        s.text_ = text;
        return s;
    }

    Bstr(Bstr&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}
    Bstr& operator=(Bstr&& other) noexcept {
        Bstr(std::move(other)).swap(*this);
        return *this;
    }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(text_); }

    Bstr copy() const { return fromWide(view()); }

    BSTR get() const noexcept { return text_; }
    // For out-parameters: frees what is held and hands out the slot.
    BSTR* put() noexcept {
        reset();
        return &text_;
    }
    BSTR release() noexcept { return std::exchange(text_, nullptr); }
    void reset() noexcept { SysFreeString(std::exchange(text_, nullptr)); }

    UINT length() const noexcept { return SysStringLen(text_); }
    bool empty() const noexcept { return length() == 0; }
    WideView view() const noexcept { return {text_ == nullptr ? nullptr : text_, length()}; }
    std::string utf8() const { return wideToUtf8(view()); }
    std::string narrow() const { return wideToNarrow(view()); }

    void swap(Bstr& other) noexcept { std::swap(text_, other.text_); }

private:
    BSTR text_ = nullptr;
};

}  // namespace vexa
