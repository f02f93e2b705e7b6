// The core-object half of every toolkit object: a reference count, the
// interface answers over each offered interface's chain, identity, hash
// and a describing text. Interfaces are the core model's, so none of this
// may throw.
#pragma once

#include <atomic>
#include <string>
#include <tuple>
#include <type_traits>

#include "contract/kite_interfaces.h"
#include "host/kite/core_runtime.h"

namespace vexa::kite {

// Every interface a toolkit object can answer; an object answers those of
// this list that its own interfaces derive from.
using KnownInterfaces =
    std::tuple<IUnknown, IBaseObject, IEventHandler, IEventArgs, IDrawGridEventArgs, IDrawGridCellPropsArgs,
               IDrawGridCellInputArgs, IDrawGridCellActionEventArgs, IDrawGridLiveValueArgs, IComponent,
               IControl, IParentControl, IContentControl, IWindow, IControlFactory, IButton, IFont, ILabel,
               ITabControl, ISearchEdit, IDrawGridColumn, INVDrawGrid, ITimer>;

namespace detail {

template <class Known, class I>
void* asKnown(I* self, const IntfID& id) noexcept {
    if constexpr (std::is_base_of_v<Known, I>) {
        if (Known::Id == id) return static_cast<Known*>(self);
    }
    return nullptr;
}

template <class I, class... Known>
void* lookIn(I* self, const IntfID& id, std::tuple<Known...>*) noexcept {
    void* found = nullptr;
    ((found = found != nullptr ? found : asKnown<Known>(self, id)), ...);
    return found;
}

}  // namespace detail

// `Primary` answers IUnknown and IBaseObject; `Others` are further
// interfaces of the same object (the window's control factory).
template <class Primary, class... Others>
class KiteObject : public Primary, public Others... {
public:
    KiteObject(const KiteObject&) = delete;
    KiteObject& operator=(const KiteObject&) = delete;

    ErrCode queryInterface(const IntfID& id, void** intf) noexcept override {
        const ErrCode status = borrowInterface(id, intf);
        if (status == errOk) addRef();
        return status;
    }
    int addRef() noexcept override { return ++references_; }
    int release() noexcept override {
        const int left = --references_;
        if (left == 0) delete this;
        return left;
    }
    ErrCode borrowInterface(const IntfID& id, void** intf) noexcept override {
        if (intf == nullptr) return errArgumentNull;
        void* found = detail::lookIn(static_cast<Primary*>(this), id, static_cast<KnownInterfaces*>(nullptr));
        ((found = found != nullptr
                      ? found
                      : detail::lookIn(static_cast<Others*>(this), id, static_cast<KnownInterfaces*>(nullptr))),
         ...);
        *intf = found;
        return found != nullptr ? errOk : errNoInterface;
    }
    ErrCode dispose() noexcept override { return errOk; }
    ErrCode getHashCode(SizeT* hashCode) noexcept override {
        if (hashCode == nullptr) return errArgumentNull;
        *hashCode = reinterpret_cast<SizeT>(identity());
        return errOk;
    }
    // 0 for the same object, whichever of its interfaces `other` is.
    ErrCode equals(IBaseObject* other) noexcept override {
        if (other == nullptr) return 1;
        void* theirs = nullptr;
        other->borrowInterface(IBaseObject::Id, &theirs);
        return theirs == identity() ? 0 : 1;
    }
    ErrCode toString(CharPtr* text) noexcept override {
        if (text == nullptr) return errArgumentNull;
        try {
            return nvRtDuplicateCharPtr(describe().c_str(), text);
        } catch (...) {
            return errNoMemory;
        }
    }

    // The object as a core IBaseObject: its identity.
    IBaseObject* identity() noexcept { return static_cast<IBaseObject*>(static_cast<Primary*>(this)); }

protected:
    KiteObject() = default;
    virtual ~KiteObject() = default;

    // What toString answers, e.g. "Kite.Button addDeviceButton".
    virtual std::string describe() const = 0;

private:
    std::atomic<int> references_{1};
};

}  // namespace vexa::kite
