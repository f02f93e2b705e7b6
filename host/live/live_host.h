// The reference host as the live page shows it: the plug-in, its windows
// with the host's sequence around them, and its acquisition. Everything
// here runs on the host's one thread, the one that serves the page: the
// toolkit's timers, the data steps and every call into the plug-in.
//
// One of the plug-in's windows is open at a time, the one whose tab the
// page shows. Leaving a tab closes its window and opening a tab opens one
// afresh, so leaving the settings runs the host's sequence (save the
// settings, reconfigure, apply a setup) and the setup window always shows
// the devices of that moment. The settings cannot be opened during an
// acquisition, since leaving them would rebuild the channels under it;
// starting an acquisition from the settings moves to the setup first.
#pragma once

#include <string>
#include <vector>

#include "host/kite/toolkit.h"
#include "host/live/live_options.h"
#include "host/live/live_run.h"
#include "host/live/notices.h"
#include "host/objects/host_app_object.h"
#include "host/plugin_driver.h"
#include "host/plugin_module.h"
#include "host/window_session.h"

namespace vexa::live {

class LiveHost {
public:
    // Loads and initialises the plug-in, hands it the settings (the file,
    // or else a document listing `devices`), applies a setup (the file, or
    // a new one) and opens `first`.
    LiveHost(const LiveOptions& options, const std::vector<std::string>& devices, host::WindowKind first);
    // Stops a run and closes the open window.
    ~LiveHost();
    LiveHost(const LiveHost&) = delete;
    LiveHost& operator=(const LiveHost&) = delete;

    // One message of the page: {"id": ID, "action": NAME, ...}. Answers
    // {"type": "ack", "id": ID} and, when the action failed or changed
    // nothing because it could not be done, "error": TEXT.
    Json handle(const Json& message);
    // Moves the toolkit's clock on to `now` and takes a data step when one
    // is due.
    void tick(Clock::time_point now);

    // The window tree and the acquisition: what GET /state answers.
    Json state() const;
    Json plot() const { return run_.plot(); }
    std::string csv() const { return run_.csv(); }

private:
    void act(const Json& message, Clock::time_point now);
    void show(host::WindowKind kind);
    void start(RunMode mode, Clock::time_point now);
    Json usedChannels() const;

    host::PluginSource source_;
    ComPtr<host::HostAppObject> app_;
    kite::UiClock uiClock_;
    Clock::time_point clockStart_;
    host::PluginDriver plugin_;
    Notices notices_;
    host::WindowSession windows_;
    host::WindowKind shown_;
    LiveRun run_;
};

const char* kindName(host::WindowKind kind) noexcept;

}  // namespace vexa::live
