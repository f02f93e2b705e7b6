// Texts across the reference host's interfaces: BSTR in, UTF-8 inside.
#pragma once

#include <string>

#include "platform/bstr.h"
#include "platform/text.h"

namespace vexa::host {

// A null BSTR is the empty text.
inline std::string utf8Of(BSTR text) {
    if (text == nullptr) return {};
    return wideToUtf8(WideView(text, SysStringLen(text)));
}

// Hands a new BSTR to the caller's out-parameter.
inline HRESULT answerText(BSTR* out, const std::string& text) {
    if (out == nullptr) return E_POINTER;
    *out = Bstr(text).release();
    return S_OK;
}

}  // namespace vexa::host
