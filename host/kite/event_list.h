// The handlers added to one event of one control. The toolkit holds a
// reference to each until it is removed or the control lets go of its
// handlers (its window was dropped or its content replaced).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/kite/names.h"
#include "host/kite/ref.h"

namespace vexa::kite {

// Where a failing handler is noted: the control's name, the event's name
// and the status the handler answered.
using FailureNote = std::function<void(const std::string& event, ErrCode status)>;

class EventList {
public:
    explicit EventList(std::string name) : name_(std::move(name)) {}

    const std::string& name() const noexcept { return name_; }
    std::size_t size() const noexcept { return handlers_.size(); }

    // Throws KiteError: a null handler.
    void add(IEventHandler* handler);
    // Removes the first handler that equals `handler` (by its equals());
    // throws KiteError when there is none.
    void remove(IEventHandler* handler);
    void clear() noexcept { handlers_.clear(); }

    // Calls the handlers of this moment in the order they were added; one
    // removed (or let go of) by an earlier handler is not called. Answers
    // the first failing status, else errOk. Failures also go to `note`.
    ErrCode raise(IBaseObject* sender, IEventArgs* args, const FailureNote& note = {});

private:
    bool holds(IEventHandler* handler) const noexcept;

    std::string name_;
    std::vector<Ref<IEventHandler>> handlers_;
};

}  // namespace vexa::kite
