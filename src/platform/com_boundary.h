// What every COM method of ours does at its edge, for the plug-in and the
// reference host alike: no exception leaves an interface method, an
// out-parameter is checked before it is written, and an object without a
// type library says so through IDispatch.
#pragma once

#include <exception>
#include <functional>
#include <new>
#include <type_traits>
#include <utility>

#include "platform/com.h"
#include "platform/com_error.h"
#include "platform/com_ptr.h"

namespace vexa {

// Takes the exception of a failure that has no result of its own (null
// when what was thrown is no std::exception). What it throws is dropped: the
// answer already says that the call failed.
struct IgnoreFailure {
    void operator()(const std::exception*) const noexcept {}
};

// The answer for the exception being handled: a ComError keeps its result,
// std::bad_alloc answers E_OUTOFMEMORY, anything else goes to `report` and
// answers E_FAIL. Call only inside a catch block.
template <class Report>
HRESULT answerForCaughtException(Report&& report) noexcept {
    // The caller's handler keeps the exception alive past the inner one.
    const std::exception* unexpected = nullptr;
    try {
        throw;
    } catch (const ComError& error) {
        return error.result();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::exception& error) {
        unexpected = &error;
    } catch (...) {
    }
    try {
        std::invoke(report, unexpected);
    } catch (...) {
    }
    return E_FAIL;
}

// Runs a method body that answers an HRESULT, or nothing (then S_OK), and
// turns whatever it throws into the answer.
template <class Body, class Report = IgnoreFailure>
HRESULT guarded(Body&& body, Report&& report = {}) noexcept {
    try {
        if constexpr (std::is_void_v<std::invoke_result_t<Body&>>) {
            body();
            return S_OK;
        } else {
            return body();
        }
    } catch (...) {
        return answerForCaughtException(report);
    }
}

// Writes an out-parameter: E_POINTER when the caller passed none.
template <class T, class V>
HRESULT writeOut(T* out, V&& value) noexcept {
    if (out == nullptr) return E_POINTER;
    *out = std::forward<V>(value);
    return S_OK;
}

// Hands the caller a reference of its own to `object`, which may be null.
template <class I, class T>
HRESULT writeOutObject(I** out, T* object) noexcept {
    if (out == nullptr) return E_POINTER;
    I* given = object;
    if (given != nullptr) given->AddRef();
    *out = given;
    return S_OK;
}

template <class I, class T>
HRESULT writeOutObject(I** out, const ComPtr<T>& object) noexcept {
    return writeOutObject(out, object.get());
}

// The IDispatch answers of an object without a type library: there is no
// type information to give and no late-bound call to make; callers go
// through the vtable.
struct DispatchWithoutTypeInfo {
    static HRESULT GetTypeInfoCount(UINT* count) noexcept { return writeOut(count, UINT{0}); }
    static HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) noexcept { return E_NOTIMPL; }
    static HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept { return E_NOTIMPL; }
    static HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) noexcept {
        return E_NOTIMPL;
    }
};

}  // namespace vexa
