// The plug-in's own core objects: reference counting, interface lookup and
// dispose behave as the core object model expects of any object.
#pragma once

#include <atomic>
#include <cstdint>
#include <utility>

#include "core/check_result.h"
#include "contract/core_interfaces.h"
#include "core/core_library.h"
#include "core/object_ptr.h"

namespace Nerova::RT::Core {

// The interface identifiers an object offering `I` answers to.
template <class I>
struct IntfEntries {
    static bool contains(const IntfID& id) noexcept {
        return id == IUnknown::Id || id == IBaseObject::Id || id == I::Id;
    }
};

// `I` derives from IBaseObject and names itself with a static `typeName()`.
// Slot 8 is I's own method (the concrete class); after it come the
// destructor and the dispose hook.
//
// Every slot is called from the host's code, which knows nothing of C++
// exceptions: none may leave one. The slots here are noexcept and answer a
// status instead; the concrete class answers for its own method, best
// through guarded().
template <class I>
class IntfObjectImpl : public I {
public:
    using Interface = I;

    ErrCode queryInterface(const IntfID& id, void** intf) noexcept override {
        const ErrCode status = borrowInterface(id, intf);
        if (status == errOk) addRef();
        return status;
    }
    int addRef() noexcept override { return static_cast<int>(++refCount_); }
    int release() noexcept override {
        const std::uint32_t left = --refCount_;
        if (left == 0) {
            if (!disposed_) dispose();
            delete this;
        }
        return static_cast<int>(left);
    }

    ErrCode borrowInterface(const IntfID& id, void** intf) noexcept override {
        if (intf == nullptr) return errArgumentNull;
        if (!IntfEntries<I>::contains(id)) return errNoInterface;
        *intf = static_cast<I*>(this);
        return errOk;
    }
    // A hook that throws still leaves the object disposed: it runs once.
    ErrCode dispose() noexcept override {
        const ErrCode status = guarded([this] {
            internalDispose();
            return errOk;
        });
        disposed_ = true;
        return status;
    }
    ErrCode getHashCode(SizeT* hashCode) noexcept override {
        if (hashCode == nullptr) return errArgumentNull;
        *hashCode = reinterpret_cast<SizeT>(this);
        return errOk;
    }
    ErrCode equals(IBaseObject* other) noexcept override {
        if (other == nullptr) return 1;
        void* mine = nullptr;
        void* theirs = nullptr;
        borrowInterface(IBaseObject::Id, &mine);
        other->borrowInterface(IBaseObject::Id, &theirs);
        return mine == theirs ? 0 : 1;
    }
    // The caller owns the text and frees it through the core library. When
    // the library cannot be bound the answer is errGeneralError.
    ErrCode toString(CharPtr* text) noexcept override {
        if (text == nullptr) return errArgumentNull;
        *text = nullptr;
        return guarded([text] {
            const ErrCode status = CoreTypesLibrary::get().duplicateCharPtr(I::typeName(), text);
            return isFailure(status) ? status : errOk;
        });
    }

    virtual ~IntfObjectImpl() = default;

protected:
    IntfObjectImpl() = default;
    // Runs once, on the first dispose or at the last release.
    virtual void internalDispose() {}

    // Runs `body` (which answers a status) and turns whatever it throws into
    // the status of that exception.
    template <class Body>
    static ErrCode guarded(Body&& body) noexcept {
        try {
            return body();
        } catch (...) {
            return statusOfCurrentException();
        }
    }

    std::uint32_t referenceCount() const noexcept { return refCount_; }

private:

    bool disposed_ = false;
    std::atomic<std::uint32_t> refCount_{0};
};

// A new object of type T held with its first reference.
template <class T, class... Args>
ObjectPtr<typename T::Interface> createObject(Args&&... args) {
    auto* object = new T(std::forward<Args>(args)...);
    object->addRef();
    ObjectPtr<typename T::Interface> held;
    held.reset(object);
    return held;
}

}  // namespace Nerova::RT::Core
