#include "platform/com_error.h"

#include <cstdio>
#include <string_view>

#include "platform/bstr.h"
#include "platform/text.h"

namespace vexa {

std::string ComError::message() const {
    if (info_) {
        Bstr description;
        if (SUCCEEDED(info_->GetDescription(description.put())) && !description.empty())
            return description.utf8();
    }
    char text[40];
    std::snprintf(text, sizeof text, "COM error 0x%08X", static_cast<unsigned>(result_));
#ifdef _WIN32
    // The system's own words for the result, e.g. "Class not registered".
    wchar_t words[256] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        static_cast<DWORD>(result_), 0, words, 256, nullptr);
    std::wstring_view view(words, length);
    while (!view.empty() && (view.back() == L'\r' || view.back() == L'\n' || view.back() == L'.')) view.remove_suffix(1);
    if (!view.empty()) return std::string(text) + ": " + wideToUtf8(WideView(view.data(), view.size()));
#endif
    return text;
}

void throwComError(HRESULT result, const IID& iid) { throw ComError(result, iid); }

void checkCall(HRESULT result, IUnknown* object, const IID& iid) {
    if (SUCCEEDED(result)) return;
    ComPtr<IErrorInfo> info;
    if (object != nullptr) {
        ComPtr<ISupportErrorInfo> support;
        if (SUCCEEDED(object->QueryInterface(IID_ISupportErrorInfo, support.putVoid())) && support &&
            support->InterfaceSupportsErrorInfo(iid) == S_OK) {
            if (GetErrorInfo(0, info.put()) != S_OK) info.reset();
        }
    }
    throw ComError(result, iid, std::move(info));
}

}  // namespace vexa
