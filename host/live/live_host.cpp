#include "host/live/live_host.h"

#include <cstdio>
#include <stdexcept>

#include "host/acquisition.h"
#include "host/live/window_actions.h"
#include "host/objects/xml_document.h"
#include "platform/com_error.h"

namespace vexa::live {

using host::WindowKind;
using kite::ActionError;

namespace {

std::string answerText(const char* step, HRESULT answer, HRESULT expected) {
    char text[128];
    std::snprintf(text, sizeof text, "%s answered 0x%08X, not 0x%08X", step, static_cast<unsigned>(answer),
                  static_cast<unsigned>(expected));
    return text;
}

// The page reads the rings every step; a second more than a stalled
// device can hold up a step.
constexpr double kHoldSeconds = vexa::host::kDeviceStallSeconds + 1.0;

WindowKind kindFromName(const std::string& name) {
    for (WindowKind kind : {WindowKind::Settings, WindowKind::Setup, WindowKind::Analysis})
        if (name == kindName(kind)) return kind;
    throw ActionError("there is no window \"" + name + "\"");
}

std::string textField(const Json& message, const char* key) {
    const auto found = message.find(key);
    if (found == message.end() || !found->is_string())
        throw ActionError(std::string("the action needs a text \"") + key + "\"");
    return found->get<std::string>();
}

}  // namespace

const char* kindName(WindowKind kind) noexcept {
    switch (kind) {
    case WindowKind::Settings: return "settings";
    case WindowKind::Setup: return "setup";
    case WindowKind::Analysis: return "analysis";
    }
    return "?";
}

LiveHost::LiveHost(const LiveOptions& options, const std::vector<std::string>& devices, WindowKind first)
    : source_(options.pluginPath, options.registered),
      app_(host::makeHostObject<host::HostAppObject>()),
      clockStart_(Clock::now()),
      plugin_(source_.create()),
      windows_(plugin_, uiClock_,
               [this](const char* step, HRESULT answer, HRESULT expected) {
                   if (answer != expected) notices_.add(answerText(step, answer, expected));
               }),
      shown_(first),
      run_(plugin_, *app_, notices_) {
    if (!options.logFolder.empty()) app_->setLogFolder(options.logFolder);
    // The page reads the rings every data step; a fast device's samples grow
    // them for a while instead of being overwritten, and so do those of a
    // step the host was late for (a connect holds it up to seconds).
    app_->dataObject()->modelObject()->channelGroup()->setHoldSeconds(kHoldSeconds);
    const HRESULT initialized = plugin_.initialize(app_.get());
    if (initialized != S_OK) throw std::runtime_error(answerText("Initialize", initialized, S_OK));
    auto settings = options.settingsFile.empty() ? host::settingsFor(devices)
                                                 : host::XmlDocumentObject::load(options.settingsFile);
    Variant ignored;
    const HRESULT loaded =
        plugin_.documentEvent(HostEvent::SettingsDocument, settings.get(), &settings->root(), false, ignored);
    if (loaded != S_OK) notices_.add(answerText("load settings", loaded, S_OK));
    if (!options.setupFile.empty()) windows_.setSetupDocument(host::XmlDocumentObject::load(options.setupFile));
    windows_.prepareSetup();
    if (!windows_.open(first)) notices_.add(std::string("the plug-in did not fill the ") + kindName(first) + " window");
    run_.takeReports();
}

LiveHost::~LiveHost() { run_.stop(); }

void LiveHost::tick(Clock::time_point now) {
    const auto due = std::chrono::duration_cast<std::chrono::milliseconds>(now - clockStart_).count();
    if (due > uiClock_.now()) uiClock_.advance(due - uiClock_.now());
    run_.tick(now);
}

Json LiveHost::handle(const Json& message) {
    Json ack = {{"type", "ack"}, {"id", nullptr}};
    try {
        if (!message.is_object()) throw ActionError("a message is a JSON object");
        if (const auto id = message.find("id"); id != message.end()) ack["id"] = *id;
        act(message, Clock::now());
    } catch (const ActionError& error) {
        ack["error"] = error.what();
    } catch (const std::exception& error) {
        ack["error"] = std::string("the host failed: ") + error.what();
    } catch (const ComError& error) {
        ack["error"] = "the host failed: " + error.message();
    }
    run_.takeReports();
    return ack;
}

void LiveHost::act(const Json& message, Clock::time_point now) {
    const std::string action = textField(message, "action");
    if (action == "open") return show(kindFromName(textField(message, "window")));
    if (action == "start") return start(RunMode::Recording, now);
    if (action == "preview") return start(RunMode::Preview, now);
    if (action == "stop") return run_.stop();
    if (!isWindowAction(message)) throw ActionError("there is no action \"" + action + "\"");
    // The page acts on the window it shows; one it no longer shows is gone.
    const WindowKind kind = kindFromName(textField(message, "window"));
    kite::Window* window = windows_.window(kind);
    if (kind != shown_ || window == nullptr) throw ActionError(std::string("the ") + kindName(kind) + " window is not open");
    const kite::ErrCode status = performAction(*window, message);
    if (status != kite::errOk) {
        char text[96];
        std::snprintf(text, sizeof text, "the window's handler answered 0x%08X", static_cast<unsigned>(status));
        throw ActionError(text);
    }
}

void LiveHost::show(WindowKind kind) {
    if (kind == shown_ && windows_.window(kind) != nullptr) return;
    if (kind == WindowKind::Settings && run_.mode() != RunMode::Idle)
        throw ActionError("stop the acquisition before changing the devices");
    if (windows_.window(shown_) != nullptr) windows_.close(shown_);
    shown_ = kind;
    if (!windows_.open(kind))
        throw ActionError(std::string("the plug-in did not fill the ") + kindName(kind) + " window");
}

void LiveHost::start(RunMode mode, Clock::time_point now) {
    if (run_.mode() == mode) return;
    run_.stop();
    if (shown_ == WindowKind::Settings) show(WindowKind::Setup);
    run_.start(mode, now);
}

Json LiveHost::usedChannels() const {
    Json channels = Json::array();
    for (const host::ChannelPtr& channel : app_->dataObject()->modelObject()->channelGroup()->channels()) {
        if (!channel->settings().used) continue;
        channels.push_back({{"name", channel->settings().name}, {"color", colorText(channel->settings().color)}});
    }
    return channels;
}

Json LiveHost::state() const {
    Json out = Json::object();
    out["type"] = "state";
    out["run"] = run_.state();
    const kite::Window* window = windows_.window(shown_);
    out["window"] = {{"kind", kindName(shown_)}, {"tree", window != nullptr ? window->json() : Json(nullptr)}};
    out["channels"] = usedChannels();
    out["notices"] = notices_.json();
    return out;
}

}  // namespace vexa::live
