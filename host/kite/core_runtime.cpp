#include "host/kite/core_runtime.h"

#include "host/kite/kite_call.h"
#include "host/kite/ref.h"

namespace vexa::kite {

std::string textOf(IString* text) {
    if (text == nullptr) return {};
    ConstCharPtr bytes = nullptr;
    SizeT length = 0;
    if (isFailure(text->getCharPtr(&bytes)) || bytes == nullptr) return {};
    if (isFailure(text->getLength(&length))) return bytes;
    return std::string(bytes, length);
}

IString* newString(const std::string& text) {
    IString* made = nullptr;
    const ErrCode status = createString(&made, text.c_str());
    if (isFailure(status) || made == nullptr) throw KiteError(status, "the core-types runtime made no string");
    return made;
}

void leaveErrorMessage(const std::string& message) noexcept {
    Ref<IErrorInfo> info;
    if (isFailure(createErrorInfo(info.put())) || !info) return;
    Ref<IString> text;
    if (isFailure(createString(text.put(), message.c_str()))) return;
    info->setMessage(text.get());
    nvRtSetErrorInfo(info.get());
}

std::string takeErrorMessage() {
    Ref<IErrorInfo> info;
    nvRtGetErrorInfo(info.put());
    if (!info) return {};
    Ref<IString> message;
    info->getMessage(message.put());
    nvRtClearErrorInfo();
    return textOf(message.get());
}

}  // namespace vexa::kite
