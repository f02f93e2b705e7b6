#include "host/kite/event_list.h"

#include <algorithm>

#include "host/kite/kite_call.h"

namespace vexa::kite {

void EventList::add(IEventHandler* handler) {
    if (handler == nullptr) throw KiteError(errArgumentNull, "no handler to add to " + name_);
    handlers_.push_back(Ref<IEventHandler>::share(handler));
}

void EventList::remove(IEventHandler* handler) {
    if (handler == nullptr) throw KiteError(errArgumentNull, "no handler to remove from " + name_);
    const auto found = std::find_if(handlers_.begin(), handlers_.end(),
                                    [handler](const Ref<IEventHandler>& held) { return held->equals(handler) == 0; });
    if (found == handlers_.end()) throw KiteError(errNotFound, "the handler was never added to " + name_);
    handlers_.erase(found);
}

bool EventList::holds(IEventHandler* handler) const noexcept {
    return std::any_of(handlers_.begin(), handlers_.end(),
                       [handler](const Ref<IEventHandler>& held) { return held.get() == handler; });
}

ErrCode EventList::raise(IBaseObject* sender, IEventArgs* args, const FailureNote& note) {
    const std::vector<Ref<IEventHandler>> now = handlers_;
    ErrCode first = errOk;
    for (const Ref<IEventHandler>& handler : now) {
        if (!holds(handler.get())) continue;
        const ErrCode status = handler->handleEvent(sender, args);
        if (!isFailure(status)) continue;
        if (first == errOk) first = status;
        if (note) note(name_, status);
    }
    return first;
}

}  // namespace vexa::kite
