#include "core/check_result.h"

#include <new>

#include "core/core_library.h"
#include "core/exception_registry.h"
#include "core/object_ptr.h"

namespace Nerova::RT::Core {

namespace {

// The message of the thread's error info, which is cleared; empty when there
// is none.
std::string takeThreadErrorMessage(const CoreTypesLibrary& library) {
    ObjectPtr<IErrorInfo> info;
    library.getErrorInfo(info.put());
    if (!info) return {};
    StringPtr message;
    info->getMessage(message.put());
    info = {};
    std::string text = message.toStdString();
    library.clearErrorInfo();
    return text;
}

}  // namespace

void checkResult(ErrCode status) {
    if (!isFailure(status)) return;
    throwForCode(status, takeThreadErrorMessage(CoreTypesLibrary::get()));
}

ErrCode statusOfCurrentException() noexcept {
    try {
        throw;
    } catch (const NvrtException& e) {
        return e.code();
    } catch (const std::bad_alloc&) {
        return errNoMemory;
    } catch (...) {
        return errGeneralError;
    }
}

StringPtr::StringPtr(const std::string& text) {
    const ErrCode status = CoreTypesLibrary::get().createString(put(), text.c_str());
    if (isFailure(status)) throwForCode(status, {});
}

std::string StringPtr::toStdString() const {
    ConstCharPtr text = nullptr;
    if (get() == nullptr || isFailure(get()->getCharPtr(&text)) || text == nullptr) return {};
    return text;
}

}  // namespace Nerova::RT::Core
