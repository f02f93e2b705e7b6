#include "host/live/live_run.h"

#include <cstdio>

namespace vexa::live {

const char* modeName(RunMode mode) noexcept {
    switch (mode) {
    case RunMode::Idle: return "idle";
    case RunMode::Preview: return "preview";
    case RunMode::Recording: return "recording";
    }
    return "?";
}

LiveRun::LiveRun(const host::PluginDriver& plugin, host::HostAppObject& app, Notices& notices,
                 const SampleLimits& limits)
    : plugin_(plugin), app_(app), notices_(notices), samples_(limits), reportsTaken_(app.reportedErrors().size()) {}

bool LiveRun::expect(const char* step, HRESULT answer, HRESULT& last) {
    const bool good = answer == S_OK;
    if (!good && answer != last) {
        char text[96];
        std::snprintf(text, sizeof text, "%s answered 0x%08X", step, static_cast<unsigned>(answer));
        notices_.add(text);
    }
    last = answer;
    return good;
}

void LiveRun::takeReports() {
    const std::vector<std::string>& reports = app_.reportedErrors();
    for (; reportsTaken_ < reports.size(); ++reportsTaken_) notices_.add(reports[reportsTaken_]);
}

void LiveRun::start(RunMode mode, Clock::time_point now) {
    if (mode_ != RunMode::Idle || mode == RunMode::Idle) return;
    // The plug-in chooses, at start, how samples reach the host: in setup
    // mode every used channel's samples still land in its buffers.
    app_.setSetupMode(mode == RunMode::Preview);
    const bool record = mode == RunMode::Recording;
    samples_.restart(group(), record);
    seconds_ = 0;
    recent_.clear();
    app_.clock()->setTime(0);
    HRESULT last = S_OK;
    bool good = expect("PrepareAcquisition", plugin_.prepareAcquisition(), last);
    good = good && expect("StartAcquisition", plugin_.startAcquisition(), last);
    takeReports();
    if (!good) {
        // Devices that did start must not run on unread.
        plugin_.stopAcquisition();
        takeReports();
        return;
    }
    mode_ = mode;
    started_ = now;
    nextStep_ = now + kStep;
    lastRead_ = S_OK;
}

void LiveRun::stop() {
    if (mode_ == RunMode::Idle) return;
    mode_ = RunMode::Idle;
    HRESULT last = S_OK;
    expect("StopAcquisition", plugin_.stopAcquisition(), last);
    takeReports();
}

void LiveRun::tick(Clock::time_point now) {
    if (mode_ != RunMode::Idle && now >= nextStep_) {
        step(now);
        nextStep_ = std::max(nextStep_ + kStep, now);
    }
    takeReports();
}

void LiveRun::step(Clock::time_point now) {
    seconds_ = std::chrono::duration<double>(now - started_).count();
    app_.clock()->setTime(seconds_);
    expect("ReadData", plugin_.readData(), lastRead_);
    samples_.collect(group(), mode_ == RunMode::Recording);
    recent_.emplace_back(seconds_, samples_.taken());
    while (recent_.size() > 2 && recent_.front().first < seconds_ - 1.0) recent_.pop_front();
}

Json LiveRun::state() const {
    double rate = 0;
    if (recent_.size() >= 2 && recent_.back().first > recent_.front().first)
        rate = static_cast<double>(recent_.back().second - recent_.front().second) /
               (recent_.back().first - recent_.front().first);
    const Recording& recording = samples_.recording();
    Json out = Json::object();
    out["state"] = modeName(mode_);
    out["elapsed"] = seconds_;
    out["samplesPerSecond"] = rate;
    out["lost"] = samples_.lost();
    out["recording"] = {{"samples", recording.size()},
                        {"bytes", recording.bytes()},
                        {"capacity", recording.capacity()},
                        {"dropped", recording.dropped()}};
    return out;
}

}  // namespace vexa::live
