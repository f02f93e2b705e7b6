// The acquisition of the live page. Recording is the host's acquisition:
// the plug-in is started, stepped on the host's clock and its samples are
// kept for download. Preview is the host's setup mode: the same data steps
// move the live values and the plot, and nothing is recorded. Both run on
// the host's one thread, as its data steps fall due.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <utility>

#include "host/live/live_samples.h"
#include "host/live/notices.h"
#include "host/objects/host_app_object.h"
#include "host/plugin_driver.h"

namespace vexa::live {

using Clock = std::chrono::steady_clock;

enum class RunMode { Idle, Preview, Recording };
const char* modeName(RunMode mode) noexcept;

class LiveRun {
public:
    static constexpr std::chrono::milliseconds kStep{100};

    // All three outlive the run.
    LiveRun(const host::PluginDriver& plugin, host::HostAppObject& app, Notices& notices,
            const SampleLimits& limits = {});

    RunMode mode() const noexcept { return mode_; }
    // From Idle; the host time starts at 0 at `now`.
    void start(RunMode mode, Clock::time_point now);
    void stop();
    // The data step, when one is due at `now`; a host that was held up
    // (a connect blocks it) takes one step, not all it missed.
    void tick(Clock::time_point now);
    // New reports of the plug-in to the host become notices.
    void takeReports();

    // {"state", "elapsed", "samplesPerSecond", "lost", "recording": {...}}
    Json state() const;
    Json plot() const { return samples_.plot(group()); }
    std::string csv() const { return samples_.recording().csv(); }

private:
    host::ChannelGroupObject& group() const { return *app_.dataObject()->modelObject()->channelGroup(); }
    bool expect(const char* step, HRESULT answer, HRESULT& last);
    void step(Clock::time_point now);

    const host::PluginDriver& plugin_;
    host::HostAppObject& app_;
    Notices& notices_;
    LiveSamples samples_;
    RunMode mode_ = RunMode::Idle;
    Clock::time_point started_;
    Clock::time_point nextStep_;
    double seconds_ = 0;
    HRESULT lastRead_ = S_OK;  // a failing step is noted once, not every step
    std::size_t reportsTaken_ = 0;
    // (host seconds, samples taken) of the last second, for the rate.
    std::deque<std::pair<double, std::uint64_t>> recent_;
};

}  // namespace vexa::live
