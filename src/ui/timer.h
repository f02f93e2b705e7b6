// A timer the window's control factory makes. It ticks on the window's
// thread from the moment it is given an interval and cannot be stopped.
#pragma once

#include "ui/control_factory.h"
#include "ui/event_args.h"
#include "ui/event_slot.h"
#include "ui/kite_ptr.h"

namespace Nerova::Kite {

class Timer : public ObjectPtr<ITimer> {
public:
    Timer() noexcept = default;
    template <class Source>
    explicit Timer(Source* source) : ObjectPtr<ITimer>(queryObject<ITimer>(source)) {}
    // A new timer from `factory`; an empty factory raises
    // InvalidParameterException.
    explicit Timer(const ControlFactory& factory);
    Timer(const Timer& other) : ObjectPtr<ITimer>(other) {}
    Timer(Timer&& other) noexcept : ObjectPtr<ITimer>(std::move(other)) {}
    Timer& operator=(Timer other) noexcept {
        ObjectPtr<ITimer>::operator=(std::move(other));
        return *this;
    }

    void setInterval(Int milliseconds) const;

    EventSlot<Timer, EventArgs> tick =
        eventSlot<Timer, EventArgs, &ITimer::addTickHandler, &ITimer::removeTickHandler>(this);
};

}  // namespace Nerova::Kite
