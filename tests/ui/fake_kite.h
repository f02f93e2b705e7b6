// A stand-in for the host's toolkit, just large enough to drive the
// plug-in's windows: controls that remember what they were told, handler
// lists that the tests raise by hand, and a window whose markup loader only
// creates the named controls (and labels) it finds. It draws nothing and
// never raises an event on its own.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "contract/kite_interfaces.h"
#include "core/object_ptr.h"

namespace kite_fake {

using namespace Nerova::Kite;
// Windows declares an IFont of its own.
using Nerova::Kite::IFont;
using Nerova::RT::Core::CharPtr;
using Nerova::RT::Core::ErrCode;
using Nerova::RT::Core::IntfID;
using Nerova::RT::Core::IUnknown;
using Nerova::RT::Core::ObjectPtr;
using Nerova::RT::Core::SizeT;

// A new fake held with its first reference.
template <class T, class... Args>
ObjectPtr<T> make(Args&&... args) {
    ObjectPtr<T> held;
    held.reset(new T(std::forward<Args>(args)...));
    held->addRef();
    return held;
}

ErrCode giveText(const std::string& text, IString** out);
std::string textOf(IString* text);

// Operations that only keep a value.
#define FAKE_GET(Type, Name, field) \
    ErrCode get##Name(Type* out) override { return *out = (field), 0; }
#define FAKE_SET(Type, Name, field) \
    ErrCode set##Name(Type given) override { return (field) = given, 0; }
#define FAKE_PROPERTY(Type, Name, field) FAKE_GET(Type, Name, field) FAKE_SET(Type, Name, field)
#define FAKE_TEXT(Name, field)                                                         \
    ErrCode get##Name(IString** out) override { return giveText(field, out); }         \
    ErrCode set##Name(IString* given) override { return (field) = textOf(given), 0; }
#define FAKE_EVENT(Name, handlers)                                                                  \
    ErrCode add##Name##Handler(IEventHandler* handler) override { return (handlers).add(handler); } \
    ErrCode remove##Name##Handler(IEventHandler* handler) override { return (handlers).remove(handler); }

// Counting and interface answers: the object answers for `I` and `Bases`.
template <class I, class... Bases>
class FakeObject : public I {
public:
    ErrCode queryInterface(const IntfID& id, void** out) override {
        const ErrCode status = borrowInterface(id, out);
        if (status == 0) addRef();
        return status;
    }
    int addRef() override { return ++references_; }
    int release() override {
        const int left = --references_;
        if (left == 0) delete this;
        return left;
    }
    ErrCode borrowInterface(const IntfID& id, void** out) override {
        if (out == nullptr) return Nerova::RT::Core::errArgumentNull;
        const bool offered = id == IUnknown::Id || id == IBaseObject::Id || id == I::Id || ((id == Bases::Id) || ...);
        *out = offered ? static_cast<I*>(this) : nullptr;
        return offered ? 0 : Nerova::RT::Core::errNoInterface;
    }
    ErrCode dispose() override { return 0; }
    ErrCode getHashCode(SizeT* hash) override { return *hash = reinterpret_cast<SizeT>(this), 0; }
    ErrCode equals(IBaseObject* other) override { return other == static_cast<IBaseObject*>(this) ? 0 : 1; }
    ErrCode toString(CharPtr*) override { return Nerova::RT::Core::errNotImplemented; }
    virtual ~FakeObject() = default;

    int references() const { return references_; }

private:
    std::atomic<int> references_{0};
};

// The handlers of one event, in the order they were added.
class Handlers {
public:
    ErrCode add(IEventHandler* handler);
    // Finds the handler by its own comparison, as a toolkit does.
    ErrCode remove(IEventHandler* handler);
    // Every handler's answer, in order.
    std::vector<ErrCode> raise(IBaseObject* sender, IEventArgs* args) const;
    std::size_t size() const { return list_.size(); }
    IEventHandler* at(std::size_t index) const { return list_.at(index).get(); }

private:
    std::vector<ObjectPtr<IEventHandler>> list_;
};

template <class I, class... Bases>
class FakeControl : public FakeObject<I, IComponent, IControl, Bases...> {
public:
    FAKE_TEXT(Name, name)
    FAKE_PROPERTY(Int, Width, width)
    FAKE_PROPERTY(Int, Height, height)
    FAKE_PROPERTY(Bool, Hidden, hidden)

    std::string name;
    Int width = 0, height = 0;
    Bool hidden = 0;
};

class FakeEventArgs final : public FakeObject<IEventArgs> {
public:
    ErrCode getEventName(IString** out) override { return giveText("Event", out); }
};

}  // namespace kite_fake
