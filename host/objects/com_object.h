// The base of the reference host's automation objects: reference counting,
// QueryInterface over the listed interfaces and an IDispatch without a type
// library (the plug-in calls the host's interfaces directly, never through
// Invoke).
#pragma once

#include <atomic>
#include <exception>
#include <new>
#include <type_traits>
#include <utility>

#include "platform/com.h"
#include "platform/com_error.h"
#include "platform/com_ptr.h"

namespace vexa::host {

template <class First, class... Rest>
class ComObject : public First, public Rest... {
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *object = static_cast<First*>(this);
        } else {
            findInterface<First, Rest...>(riid, object);
        }
        if (*object == nullptr) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

protected:
    ComObject() = default;
    virtual ~ComObject() = default;

private:
    template <class I, class... More>
    void findInterface(REFIID riid, void** object) {
        if (riid == interfaceId<I>()) {
            *object = static_cast<I*>(this);
            return;
        }
        if constexpr (sizeof...(More) > 0) findInterface<More...>(riid, object);
    }

    std::atomic<ULONG> references_{0};
};

// A new object held by its first reference.
template <class T, class... Args>
ComPtr<T> makeObject(Args&&... args) {
    return ComPtr<T>(new T(std::forward<Args>(args)...));
}

// The interface `I` of an object of ours, as the plug-in would hold it.
template <class I, class T>
ComPtr<I> asInterface(const ComPtr<T>& object) noexcept {
    return ComPtr<I>(static_cast<I*>(object.get()));
}

// Runs a method body: no exception leaves an interface method. A COM error
// keeps its result, anything else answers E_FAIL.
template <class Body>
HRESULT guarded(Body&& body) noexcept {
    try {
        if constexpr (std::is_void_v<decltype(body())>) {
            body();
            return S_OK;
        } else {
            return body();
        }
    } catch (const ComError& error) {
        return error.result();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

// Writes an out-parameter after checking it.
template <class T, class V>
HRESULT answer(T* out, V&& value) noexcept {
    if (out == nullptr) return E_POINTER;
    *out = std::forward<V>(value);
    return S_OK;
}

// Hands the caller another reference to `object`, which may be null.
template <class I, class T>
HRESULT answerObject(I** out, T* object) noexcept {
    if (out == nullptr) return E_POINTER;
    I* answer = object;
    if (answer != nullptr) answer->AddRef();
    *out = answer;
    return S_OK;
}

template <class I, class T>
HRESULT answerObject(I** out, const ComPtr<T>& object) noexcept {
    return answerObject(out, object.get());
}

}  // namespace vexa::host
