// One event of a control, and subscribing a bound member function to it.
#pragma once

#include "core/errors.h"
#include "core/intf_object.h"
#include "ui/event_handler_impl.h"
#include "ui/handler_delegate.h"
#include "ui/kite_ptr.h"

namespace Nerova::Kite {

class EventHandler : public ObjectPtr<IEventHandler> {
public:
    EventHandler() noexcept = default;
    explicit EventHandler(ObjectPtr<IEventHandler> held) noexcept : ObjectPtr<IEventHandler>(std::move(held)) {}
};

// An event as the wrapper that raises it holds it: how to add and remove a
// handler, and the wrapper itself. A wrapper that is copied or moved gets
// slots of its own that point at it.
template <class Sender, class Args>
struct EventSlot {
    using Method = void (*)(const Sender& owner, const EventHandler& handler);

    Method subscribe = nullptr;
    Method unsubscribe = nullptr;
    const Sender* owner = nullptr;
};

// The slot of the event that `Add` and `Remove`, operations of the
// wrapper's interface, add a handler to and remove it from.
template <class Sender, class Args, auto Add, auto Remove>
EventSlot<Sender, Args> eventSlot(const Sender* owner) noexcept {
    return {[](const Sender& sender, const EventHandler& handler) {
                checkResult((sender.get()->*Add)(handler.get()));
            },
            [](const Sender& sender, const EventHandler& handler) {
                checkResult((sender.get()->*Remove)(handler.get()));
            },
            owner};
}

namespace detail {

template <class Sender, class Args>
void checkSubscription(const EventSlot<Sender, Args>& event, const HandlerDelegate<Sender, Args>& delegate,
                       typename EventSlot<Sender, Args>::Method method) {
    using RT::Core::InvalidParameterException;
    if (!delegate.callable) throw InvalidParameterException("Must bind to a valid callable.");
    if (event.owner == nullptr || !*event.owner) throw InvalidParameterException("Invalid or uninitialized control.");
    if (method == nullptr) throw InvalidParameterException("No subscribe method defined");
}

template <class Sender, class Args>
EventHandler makeHandler(HandlerDelegate<Sender, Args> delegate) {
    return EventHandler(RT::Core::createObject<EventHandlerImpl<Sender, Args>>(std::move(delegate)));
}

}  // namespace detail

// Hands the toolkit a new handler running `delegate`. The toolkit keeps the
// handler; ours is dropped as soon as the toolkit has it.
template <class Sender, class Args>
void subscribe(const EventSlot<Sender, Args>& event, HandlerDelegate<Sender, Args> delegate) {
    detail::checkSubscription(event, delegate, event.subscribe);
    event.subscribe(*event.owner, detail::makeHandler(std::move(delegate)));
}

// Takes back the handler bound as `delegate` is: the toolkit finds it by
// comparing handlers. The windows never do; their handlers go with the
// toolkit's controls.
template <class Sender, class Args>
void unsubscribe(const EventSlot<Sender, Args>& event, HandlerDelegate<Sender, Args> delegate) {
    detail::checkSubscription(event, delegate, event.unsubscribe);
    event.unsubscribe(*event.owner, detail::makeHandler(std::move(delegate)));
}

}  // namespace Nerova::Kite
