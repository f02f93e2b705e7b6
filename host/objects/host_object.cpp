#include "host/objects/host_object.h"

#include "platform/text.h"

namespace vexa::host {

void leaveErrorInfo(const IID& iid, const std::string& description) noexcept {
    ComPtr<IErrorInfo> info;
    try {
        ComPtr<ICreateErrorInfo> create;
        if (!description.empty() && SUCCEEDED(CreateErrorInfo(create.put())) && create) {
            WideString text = utf8ToWide(description);
            create->SetGUID(iid);
            create->SetDescription(text.data());
            info = create.tryQuery<IErrorInfo>();
        }
    } catch (...) {
        // Without memory for the description the caller gets none.
        info.reset();
    }
    SetErrorInfo(0, info.get());
}

}  // namespace vexa::host
