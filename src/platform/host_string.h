// A host string: the owner of one BSTR, with UTF-8 in and out.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "platform/com.h"
#include "platform/text.h"

namespace vexa {

class HostString {
public:
    HostString() noexcept = default;
    // Throws ComError(E_OUTOFMEMORY) when the string cannot be allocated.
    explicit HostString(std::string_view utf8);
    static HostString fromWide(WideView text);
    static HostString fromNarrow(std::string_view text);
    // Takes ownership of a BSTR handed to us.
    static HostString attach(BSTR text) noexcept {
        HostString s;
        s.text_ = text;
        return s;
    }

    HostString(HostString&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}
    HostString& operator=(HostString&& other) noexcept {
        HostString(std::move(other)).swap(*this);
        return *this;
    }
    HostString(const HostString&) = delete;
    HostString& operator=(const HostString&) = delete;
    ~HostString() { SysFreeString(text_); }

    HostString copy() const { return fromWide(view()); }

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

    void swap(HostString& other) noexcept { std::swap(text_, other.text_); }

private:
    BSTR text_ = nullptr;
};

}  // namespace vexa
