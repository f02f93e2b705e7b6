#include "host/window_session.h"

namespace vexa::host {

namespace {

struct KindEvents {
    HostEventId create;
    HostEventId drop;
    const char* openStep;
    const char* closeStep;
};

KindEvents eventsOf(WindowKind kind) {
    switch (kind) {
    case WindowKind::Settings:
        return {HostEvent::CreateSettingsWindow, HostEvent::DropSettingsWindow, "settings window",
                "drop settings window"};
    case WindowKind::Setup:
        return {HostEvent::CreateSetupWindow, HostEvent::DropSetupWindow, "setup window", "drop setup window"};
    case WindowKind::Analysis: break;
    }
    return {HostEvent::CreateAnalysisWindow, HostEvent::DropAnalysisWindow, "analysis window",
            "drop analysis window"};
}

}  // namespace

IUnknown* asComUnknown(kite::Window& window) noexcept {
    Nerova::RT::Core::IUnknown* core = static_cast<Nerova::Kite::IWindow*>(&window);
    return reinterpret_cast<IUnknown*>(core);
}

WindowSession::WindowSession(const PluginDriver& plugin, kite::UiClock& clock, StepLog log)
    : plugin_(plugin), clock_(clock), log_(std::move(log)) {}

WindowSession::~WindowSession() {
    for (WindowKind kind : {WindowKind::Settings, WindowKind::Setup, WindowKind::Analysis}) {
        kite::Ref<kite::Window>& held = slot(kind);
        if (!held) continue;
        plugin_.windowEvent(eventsOf(kind).drop, nullptr);
        held->drop();
        held = {};
    }
}

kite::Ref<kite::Window>& WindowSession::slot(WindowKind kind) noexcept { return windows_[static_cast<int>(kind)]; }

kite::Window* WindowSession::window(WindowKind kind) const noexcept {
    return windows_[static_cast<int>(kind)].get();
}

bool WindowSession::expect(const char* step, HRESULT answer, HRESULT expected) const {
    if (log_) log_(step, answer, expected);
    return answer == expected;
}

bool WindowSession::open(WindowKind kind) {
    const KindEvents events = eventsOf(kind);
    auto fresh = kite::make<kite::Window>(clock_);
    if (!expect(events.openStep, plugin_.windowEvent(events.create, asComUnknown(*fresh)))) {
        fresh->drop();
        return false;
    }
    kite::Ref<kite::Window> replaced = std::exchange(slot(kind), fresh);
    if (replaced) replaced->drop();
    fresh->open();
    return true;
}

bool WindowSession::close(WindowKind kind) {
    const KindEvents events = eventsOf(kind);
    bool good = expect(events.closeStep, plugin_.windowEvent(events.drop, nullptr));
    if (kite::Ref<kite::Window> held = std::exchange(slot(kind), {})) held->drop();
    if (kind == WindowKind::Settings) good &= prepareSetup();
    if (kind == WindowKind::Setup) {
        ComPtr<XmlDocumentObject> setup = saved(HostEvent::SetupDocument, "HostSetup", good);
        setup_ = std::move(setup);
    }
    return good;
}

ComPtr<XmlDocumentObject> WindowSession::saved(HostEventId event, const char* root, bool& good) const {
    auto document = XmlDocumentObject::create(root);
    Variant result;
    const HRESULT answer = plugin_.documentEvent(event, document.get(), &document->root(), true, result);
    good &= expect(event == HostEvent::SettingsDocument ? "save settings" : "save setup", answer);
    return document;
}

bool WindowSession::prepareSetup() {
    bool good = true;
    settings_ = saved(HostEvent::SettingsDocument, "HostSettings", good);
    Variant ignored;
    good &= expect("reconfigure", plugin_.event(HostEvent::Reconfigure, ignored), S_FALSE);
    if (setup_) {
        Variant result;
        good &= expect("load setup",
                       plugin_.documentEvent(HostEvent::SetupDocument, setup_.get(), &setup_->root(), false, result));
    } else {
        good &= expect("NewSetup", plugin_.newSetup());
    }
    return good;
}

}  // namespace vexa::host
