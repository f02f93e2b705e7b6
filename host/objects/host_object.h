// The common part of the reference host's COM objects: reference counting,
// the interface table, IDispatch without a type library (the plug-in calls
// the host through vtables), failures that tests can switch on per host
// method number, and the small helpers their methods share.
#pragma once

#include <atomic>
#include <exception>
#include <new>
#include <type_traits>
#include <map>
#include <tuple>
#include <utility>

#include "platform/com.h"
#include "platform/com_error.h"
#include "platform/com_ptr.h"

namespace vexa::host {

template <class... Interfaces>
class HostObject : public Interfaces... {
    using Primary = std::tuple_element_t<0, std::tuple<Interfaces...>>;

public:
    HostObject(const HostObject&) = delete;
    HostObject& operator=(const HostObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *object = static_cast<Primary*>(this);
        } else {
            (void)((IsEqualIID(iid, interfaceId<Interfaces>()) &&
                    (*object = static_cast<Interfaces*>(this)) != nullptr) ||
                   ...);
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
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // References held by anyone, the maker's included.
    ULONG referenceCount() const noexcept { return references_; }

    // From now on the method with this host number answers `result`
    // (S_OK makes it work again).
    void failMethod(int hostMethod, HRESULT result) { failures_[hostMethod] = result; }
    // How often the method with this host number was called, failed calls
    // included.
    int callCount(int hostMethod) const {
        const auto found = calls_.find(hostMethod);
        return found == calls_.end() ? 0 : found->second;
    }

protected:
    HostObject() = default;
    virtual ~HostObject() = default;

    // Counts a call of the method; S_OK, or the failure switched on for it.
    HRESULT enter(int hostMethod) {
        ++calls_[hostMethod];
        const auto found = failures_.find(hostMethod);
        return found == failures_.end() ? S_OK : found->second;
    }

private:
    std::atomic<ULONG> references_{1};
    std::map<int, HRESULT> failures_;
    std::map<int, int> calls_;
};

// A new host object, held by the one reference it starts with.
template <class T, class... Args>
ComPtr<T> makeHostObject(Args&&... args) {
    return ComPtr<T>::attach(new T(std::forward<Args>(args)...));
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
