#include "platform/com_error.h"

#include <cstdio>

#include "platform/bstr.h"

namespace vexa {

std::string ComError::message() const {
    if (info_) {
        Bstr description;
        if (SUCCEEDED(info_->GetDescription(description.put())) && !description.empty())
            return description.utf8();
    }
    char text[40];
    std::snprintf(text, sizeof text, "COM error 0x%08X", static_cast<unsigned>(result_));
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
