// The common part of the reference host's COM objects: reference counting,
// the interface table, IDispatch without a type library (the plug-in calls
// the host through vtables), rich error information, and failures that
// tests can switch on per host method. Every host method runs its body
// through call(), which counts it, answers a failure switched on for it, and
// turns what the body throws into the answer.
//
// Assumptions about the real host: it offers rich error information
// (ISupportErrorInfo) for every interface of its objects, and a failing call
// always leaves the thread's error information set for that failure: a
// description when it has one, none otherwise, never a stale one.
#pragma once

#include <atomic>
#include <cstddef>
#include <map>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/com.h"
#include "platform/com_boundary.h"
#include "platform/com_error.h"
#include "platform/com_ptr.h"

namespace vexa::host {

// A failure switched on for one host method (HostObject::failMethod), e.g.
// HostFault(E_ACCESSDENIED).afterCalls(2).describedAs("buffer locked").
struct HostFault {
    explicit HostFault(HRESULT failure = E_FAIL) : result(failure) {}
    HostFault& afterCalls(int calls) {
        after = calls;
        return *this;
    }
    HostFault& failing(int calls) {
        times = calls;
        return *this;
    }
    HostFault& describedAs(std::string text) {
        description = std::move(text);
        return *this;
    }

    HRESULT result;
    // Calls that still succeed first.
    int after = 0;
    // Failing calls before the method works again; 0: every call from then on.
    int times = 0;
    // The description of the error information a failing call leaves for
    // its caller; empty: none.
    std::string description;
};

// Leaves error information for the calling thread: a new error object with
// `description` for the interface `iid`, or none when `description` is
// empty.
void leaveErrorInfo(const IID& iid, const std::string& description) noexcept;

template <class... Interfaces>
class HostObject : public Interfaces... {
    using Primary = std::tuple_element_t<0, std::tuple<Interfaces...>>;
    using NoTypeInfo = DispatchWithoutTypeInfo;
    // Host method numbers stay below this (the highest one we declare is 201).
    static constexpr std::size_t kMethods = 256;

public:
    HostObject(const HostObject&) = delete;
    HostObject& operator=(const HostObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *object = static_cast<Primary*>(this);
        } else if (IsEqualIID(iid, IID_ISupportErrorInfo)) {
            *object = static_cast<ISupportErrorInfo*>(&errorInfoSupport_);
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

    // What the object's ISupportErrorInfo answers: S_OK for its own
    // interfaces.
    HRESULT supportsErrorInfo(REFIID iid) const noexcept {
        return (IsEqualIID(iid, interfaceId<Interfaces>()) || ...) ? S_OK : S_FALSE;
    }

    // References held by anyone, the maker's included.
    ULONG referenceCount() const noexcept { return references_; }

    // From now on host method `method` of interface I fails as `fault` says.
    // Its calls are counted from here for `after` and `times`.
    template <class I = Primary>
    void failMethod(int method, HostFault fault) {
        faults_[slotOf<I>(method)] = FaultState{std::move(fault), 0, 0};
    }
    // Every call of the method answers `result`; S_OK makes it work again.
    void failMethod(int method, HRESULT result) {
        if (result == S_OK) clearFault(method);
        else failMethod(method, HostFault{result});
    }
    template <class I = Primary>
    void clearFault(int method) {
        faults_.erase(slotOf<I>(method));
    }
    // How often host method `method` of interface I was called, failed calls
    // included.
    template <class I = Primary>
    int callCount(int method) const {
        const std::size_t slot = slotOf<I>(method);
        return slot < calls_.size() ? calls_[slot] : 0;
    }

protected:
    HostObject() = default;
    virtual ~HostObject() = default;

    // Runs the body of host method `method` of interface I (see the top of
    // this file). The body answers an HRESULT or nothing (S_OK).
    template <class I = Primary, class Body>
    HRESULT call(int method, Body&& body) noexcept {
        const std::size_t slot = slotOf<I>(method);
        if (slot >= calls_.size()) calls_.resize(slot + 1, 0);
        ++calls_[slot];
        const std::string* description = nullptr;
        HRESULT answer = S_OK;
        if (refusal_ != S_OK) {
            answer = refusal_;
        } else if (const HostFault* fault = faults_.empty() ? nullptr : dueFault(slot)) {
            answer = fault->result;
            description = &fault->description;
        } else {
            answer = guarded(std::forward<Body>(body));
        }
        if (FAILED(answer)) leaveErrorInfo(interfaceId<I>(), description != nullptr ? *description : noDescription());
        return answer;
    }

    // From now on every host method answers `result` without running.
    void refuseEveryCall(HRESULT result) noexcept { refusal_ = result; }
    bool refusesEveryCall() const noexcept { return refusal_ != S_OK; }

private:
    // ISupportErrorInfo as a part of the object rather than a base, so that
    // an object with one interface still has one IUnknown to convert to.
    class ErrorInfoSupport final : public ISupportErrorInfo {
    public:
        explicit ErrorInfoSupport(HostObject& owner) noexcept : owner_(owner) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
            return owner_.QueryInterface(iid, object);
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return owner_.AddRef(); }
        ULONG STDMETHODCALLTYPE Release() override { return owner_.Release(); }
        HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
            return owner_.supportsErrorInfo(iid);
        }

    private:
        HostObject& owner_;
    };

    struct FaultState {
        HostFault fault;
        int calls;
        int failed;
    };

    template <class I>
    static constexpr std::size_t interfaceIndex() {
        constexpr bool matches[] = {std::is_same_v<I, Interfaces>...};
        for (std::size_t i = 0; i < sizeof...(Interfaces); ++i)
            if (matches[i]) return i;
        return sizeof...(Interfaces);
    }

    template <class I>
    static std::size_t slotOf(int method) noexcept {
        static_assert(interfaceIndex<I>() < sizeof...(Interfaces), "not an interface of this object");
        const std::size_t number = method >= 0 && static_cast<std::size_t>(method) < kMethods
                                       ? static_cast<std::size_t>(method)
                                       : kMethods - 1;
        return interfaceIndex<I>() * kMethods + number;
    }

    // The fault of the method when this call is one that fails.
    const HostFault* dueFault(std::size_t slot) noexcept {
        const auto found = faults_.find(slot);
        if (found == faults_.end()) return nullptr;
        FaultState& state = found->second;
        if (++state.calls <= state.fault.after) return nullptr;
        if (state.fault.times != 0 && state.failed >= state.fault.times) return nullptr;
        ++state.failed;
        return &state.fault;
    }

    static const std::string& noDescription() noexcept {
        static const std::string none;
        return none;
    }

    std::atomic<ULONG> references_{1};
    ErrorInfoSupport errorInfoSupport_{*this};
    HRESULT refusal_ = S_OK;
    std::map<std::size_t, FaultState> faults_;
    // Grown to the highest method called so far, so that counting a call
    // allocates nothing once the method was called before.
    std::vector<int> calls_;
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
