// Failed calls across COM: the exception that carries the result, and the
// one helper that checks a call and raises it.
#pragma once

#include <string>

#include "platform/com.h"
#include "platform/com_ptr.h"

namespace vexa {

// Deliberately not a std::exception: the COM boundary keeps its HRESULT,
// while other exceptions become E_FAIL there.
class ComError {
public:
    explicit ComError(HRESULT result, const IID& iid = GUID_NULL,
                      ComPtr<IErrorInfo> info = {}) noexcept
        : result_(result), iid_(iid), info_(std::move(info)) {}

    HRESULT result() const noexcept { return result_; }
    const IID& iid() const noexcept { return iid_; }
    const ComPtr<IErrorInfo>& errorInfo() const noexcept { return info_; }

    // The description of the attached error information, else a text with
    // the result in hexadecimal.
    std::string message() const;

private:
    HRESULT result_;
    IID iid_;
    ComPtr<IErrorInfo> info_;
};

[[noreturn]] void throwComError(HRESULT result, const IID& iid = GUID_NULL);

// Raises a failing `result` of a call on `object` (whose interface is `iid`),
// with the thread's error information when the object offers it for `iid`.
void checkCall(HRESULT result, IUnknown* object, const IID& iid);

template <class T>
inline void checkCall(HRESULT result, T* object) {
    if (FAILED(result)) checkCall(result, object, interfaceId<T>());
}

// A reference that must be present: E_POINTER without a call when null.
template <class T>
inline T* required(T* p) {
    if (p == nullptr) throwComError(E_POINTER, interfaceId<T>());
    return p;
}
template <class T>
inline T* required(const ComPtr<T>& p) {
    return required(p.get());
}

}  // namespace vexa
