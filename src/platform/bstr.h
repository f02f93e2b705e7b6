// A BSTR owner: one string of the automation library, with UTF-8 in and out.
#pragma once

#include <string>
#include <string_view>

#include "platform/com.h"
#include "platform/text.h"
#include "platform/unique_resource.h"

namespace vexa {

struct BstrTraits {
    using Handle = BSTR;
    static constexpr Handle empty() noexcept { return nullptr; }
    static void close(Handle text) noexcept { SysFreeString(text); }
};

class Bstr : public UniqueResource<BstrTraits> {
public:
    Bstr() noexcept = default;
    // Takes over a BSTR handed to us.
    explicit Bstr(BSTR text) noexcept : UniqueResource(text) {}
    // Throws ComError(E_OUTOFMEMORY) when the string cannot be allocated.
    explicit Bstr(std::string_view utf8);
    static Bstr fromWide(WideView text);
    static Bstr fromNarrow(std::string_view text);

    Bstr copy() const { return fromWide(view()); }

    UINT length() const noexcept { return SysStringLen(get()); }
    bool empty() const noexcept { return length() == 0; }
    WideView view() const noexcept { return {get(), length()}; }
    std::string utf8() const { return wideToUtf8(view()); }
    std::string narrow() const { return wideToNarrow(view()); }
};

}  // namespace vexa
