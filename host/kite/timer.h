// A timer a window's control factory made. It belongs to the window: when
// the host drops the window or loads new content into it, the timer stops
// and lets go of its handlers, since the content whose handlers it calls
// is gone. The interface itself has no stop operation.
#pragma once

#include "host/kite/control.h"

namespace vexa::kite {

class UiClock;

class Timer final : public ComponentObject<Component, ITimer> {
public:
    explicit Timer(UiClock& clock) : ComponentObject({"Tick"}), clock_(&clock) {}
    ~Timer() override { stop(); }
    const char* typeName() const noexcept override { return "Timer"; }

    Int interval() const noexcept { return interval_; }
    bool running() const noexcept { return running_; }
    void stop() noexcept;
    void retire() noexcept override;

    ErrCode getInterval(Int* out) noexcept override;
    // From now on it ticks every `milliseconds` (above 0).
    ErrCode setInterval(Int milliseconds) noexcept override;
    ErrCode addTickHandler(IEventHandler* handler) noexcept override { return addHandler(0, handler); }
    ErrCode removeTickHandler(IEventHandler* handler) noexcept override { return removeHandler(0, handler); }

private:
    friend class UiClock;
    void tick();

    UiClock* clock_;
    Int interval_ = 0;
    Int due_ = 0;
    std::uint64_t order_ = 0;
    bool running_ = false;
};

}  // namespace vexa::kite
