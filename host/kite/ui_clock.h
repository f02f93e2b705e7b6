// The host's user-interface clock: the time the toolkit's timers run on.
// Nothing moves it but advance(), so a test or the host's own loop decides
// when ticks happen; there are no threads and no sleeps.
#pragma once

#include <cstdint>
#include <vector>

#include "host/kite/names.h"

namespace vexa::kite {

class Timer;

class UiClock {
public:
    UiClock() = default;
    UiClock(const UiClock&) = delete;
    UiClock& operator=(const UiClock&) = delete;
    // Stops every timer still running on it.
    ~UiClock();

    // Milliseconds since the clock was made.
    Int now() const noexcept { return now_; }
    // Moves the time on by `milliseconds`, ticking each timer that falls
    // due on the way, in time order; timers due at the same moment tick in
    // the order they were started. A timer ticks every interval from the
    // moment its interval was set. Throws std::logic_error when called from
    // a tick.
    void advance(Int milliseconds);
    std::size_t runningTimers() const noexcept { return timers_.size(); }

private:
    friend class Timer;
    void start(Timer& timer);
    void stop(Timer& timer) noexcept;

    Int now_ = 0;
    std::uint64_t starts_ = 0;
    bool advancing_ = false;
    std::vector<Timer*> timers_;  // running; each stops itself before it goes
};

}  // namespace vexa::kite
