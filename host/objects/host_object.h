// The common part of the reference host's COM objects: reference counting,
// the interface table, IDispatch without a type library (the plug-in calls
// the host through vtables) and failures that tests can switch on per host
// method number. Their methods guard their bodies and write their
// out-parameters with platform/com_boundary.h.
#pragma once

#include <atomic>
#include <map>
#include <tuple>
#include <utility>

#include "platform/com.h"
#include "platform/com_boundary.h"
#include "platform/com_error.h"
#include "platform/com_ptr.h"

namespace vexa::host {

template <class... Interfaces>
class HostObject : public Interfaces... {
    using Primary = std::tuple_element_t<0, std::tuple<Interfaces...>>;
    using NoTypeInfo = DispatchWithoutTypeInfo;

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

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return NoTypeInfo::GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
        return NoTypeInfo::GetTypeInfo(index, lcid, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override {
        return NoTypeInfo::GetIDsOfNames(iid, names, count, lcid, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argError) override {
        return NoTypeInfo::Invoke(member, iid, lcid, flags, params, result, exception, argError);
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
    ComPtr<T> object;
    object.reset(new T(std::forward<Args>(args)...));
    return object;
}

// The interface `I` of an object of ours, as the plug-in would hold it.
template <class I, class T>
ComPtr<I> asInterface(const ComPtr<T>& object) noexcept {
    return ComPtr<I>(static_cast<I*>(object.get()));
}

}  // namespace vexa::host
