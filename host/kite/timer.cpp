#include "host/kite/timer.h"

#include "host/kite/event_args.h"
#include "host/kite/ui_clock.h"

namespace vexa::kite {

void Timer::stop() noexcept {
    if (clock_ != nullptr) clock_->stop(*this);
    running_ = false;
}

void Timer::retire() noexcept {
    stop();
    Component::retire();
}

void Timer::tick() {
    auto args = make<EventArgs>("Tick");
    deliver(0, args.get());
}

ErrCode Timer::getInterval(Int* out) noexcept {
    return kiteCall([&] { giveValue(out, interval_); });
}

ErrCode Timer::setInterval(Int milliseconds) noexcept {
    return kiteCall([&] {
        if (milliseconds <= 0) throw KiteError(errOutOfRange, "a timer's interval is 1 ms or more");
        if (retired() || clock_ == nullptr)
            throw KiteError(errInvalidState, "the timer's window is gone: it does not start again");
        interval_ = milliseconds;
        clock_->start(*this);
    });
}

}  // namespace vexa::kite
