#include "host/kite/ui_clock.h"

#include <algorithm>
#include <stdexcept>

#include "host/kite/timer.h"

namespace vexa::kite {

UiClock::~UiClock() {
    for (Timer* timer : std::vector<Timer*>(timers_)) {
        timer->running_ = false;
        timer->clock_ = nullptr;
    }
}

void UiClock::start(Timer& timer) {
    stop(timer);
    timer.due_ = now_ + timer.interval_;
    timer.order_ = ++starts_;
    timer.running_ = true;
    timers_.push_back(&timer);
}

void UiClock::stop(Timer& timer) noexcept {
    timer.running_ = false;
    timers_.erase(std::remove(timers_.begin(), timers_.end(), &timer), timers_.end());
}

void UiClock::advance(Int milliseconds) {
    if (milliseconds < 0) throw std::invalid_argument("the clock does not go back");
    if (advancing_) throw std::logic_error("the clock is advanced from inside a tick");
    advancing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{advancing_};
    const Int until = now_ + milliseconds;
    for (;;) {
        Timer* next = nullptr;
        for (Timer* timer : timers_) {
            if (timer->due_ > until) continue;
            if (next == nullptr || timer->due_ < next->due_ || (timer->due_ == next->due_ && timer->order_ < next->order_))
                next = timer;
        }
        if (next == nullptr) break;
        now_ = next->due_;
        next->due_ += next->interval_;
        // The tick may drop the window, and with it the timer's last holder.
        const Ref<Timer> held = Ref<Timer>::share(next);
        next->tick();
    }
    now_ = until;
}

}  // namespace vexa::kite
