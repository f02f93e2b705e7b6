// The handler object the toolkit calls back: a core object that offers
// IEventHandler and runs one bound member function of a window.
#pragma once

#include <exception>

#include "core/errors.h"
#include "core/intf_object.h"
#include "ui/handler_delegate.h"

namespace Nerova::Kite {

// `Sender` is the wrapper of the control that raises the event, `Args` the
// wrapper of the event's arguments.
template <class Sender, class Args>
class EventHandlerImpl final : public RT::Core::IntfObjectImpl<IEventHandler> {
public:
    explicit EventHandlerImpl(HandlerDelegate<Sender, Args> delegate) : delegate_(std::move(delegate)) {}

    std::uint64_t identityHash() const noexcept { return delegate_.hash; }

    // The toolkit knows nothing of C++ exceptions: an exception of the core
    // family answers its code, anything else the general error.
    ErrCode handleEvent(IBaseObject* sender, IEventArgs* args) noexcept override {
        try {
            const Sender from(sender);
            const Args arguments(args);
            delegate_.callable(from, arguments);
            return RT::Core::errOk;
        } catch (const RT::Core::NvrtException& error) {
            return error.code();
        } catch (...) {
            return RT::Core::errGeneralError;
        }
    }

    // The same handler is a handler of this very class bound to the same
    // function and object. The class is told by the object's table of
    // operations, the one thing every core object, ours or the toolkit's,
    // is sure to start with.
    ErrCode equals(IBaseObject* other) noexcept override {
        if (other == nullptr) return 1;
        RT::Core::ObjectPtr<IEventHandler> handler;
        if (RT::Core::isFailure(other->queryInterface(IEventHandler::Id, reinterpret_cast<void**>(handler.put()))) ||
            !handler) {
            return 1;
        }
        if (operationsOf(handler.get()) != operationsOf(static_cast<IEventHandler*>(this))) return 1;
        return static_cast<const EventHandlerImpl*>(handler.get())->identityHash() == identityHash() ? 0 : 1;
    }

private:
    static const void* operationsOf(const IEventHandler* object) noexcept {
        return *reinterpret_cast<const void* const*>(object);
    }

    HandlerDelegate<Sender, Args> delegate_;
};

}  // namespace Nerova::Kite
