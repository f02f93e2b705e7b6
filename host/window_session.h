// The reference host's sequence around the plug-in's windows. This is our
// stated assumption about the real host, which does not document it:
//
// - Opening a window: the host makes a toolkit window, sends the create
//   event (181 settings, 179 setup, 185 analysis) with the window's core
//   IUnknown as the VT_UNKNOWN argument (it shares the COM IUnknown's
//   identifier and first three positions), and then shows it (opened, a
//   paint). When the plug-in answers a failure the host drops that toolkit
//   window at once, so nothing the failed construction subscribed is ever
//   called; a window of the kind that was already open stays. When it
//   succeeds, the window it replaces is dropped after the event.
// - Closing a window: the drop event (182, 180, 186), then the toolkit
//   window is dropped (its timers stop, its handlers are let go of).
// - A device's channel list is read only on the reconfigure event (105),
//   and a channel gets its output channel only when a setup is applied. So
//   when the settings window closes, the host saves the settings (159) into
//   its settings document, sends 105, and applies a setup: it loads its
//   setup document (158) when it has one, else it starts a new setup. Only
//   then can the setup window show channels.
// - When the setup window closes, the host saves the setup (158) into its
//   setup document, so that the next setup it applies keeps the user's
//   channel choices.
#pragma once

#include <functional>
#include <string>

#include "host/kite/toolkit.h"
#include "host/objects/xml_document.h"
#include "host/plugin_driver.h"

namespace vexa::host {

enum class WindowKind { Settings, Setup, Analysis };

class WindowSession {
public:
    // Told every host call the session makes: its name, the answer and the
    // answer expected.
    using StepLog = std::function<void(const char* step, HRESULT answer, HRESULT expected)>;

    // `plugin` and `clock` outlive the session.
    WindowSession(const PluginDriver& plugin, kite::UiClock& clock, StepLog log = {});
    // Closes what is still open with its drop event, without the settings
    // sequence.
    ~WindowSession();
    WindowSession(const WindowSession&) = delete;
    WindowSession& operator=(const WindowSession&) = delete;

    // True when the plug-in answered S_OK.
    bool open(WindowKind kind);
    // True when every host call of the sequence answered as expected.
    bool close(WindowKind kind);
    // The open window of that kind, or null.
    kite::Window* window(WindowKind kind) const noexcept;

    // The documents the session saves into and hands to the plug-in. The
    // setup document is null until a setup is saved or one is given: then
    // applying a setup starts a new one.
    const ComPtr<XmlDocumentObject>& settingsDocument() const noexcept { return settings_; }
    const ComPtr<XmlDocumentObject>& setupDocument() const noexcept { return setup_; }
    void setSettingsDocument(ComPtr<XmlDocumentObject> document) { settings_ = std::move(document); }
    void setSetupDocument(ComPtr<XmlDocumentObject> document) { setup_ = std::move(document); }

    // The settings sequence alone: save the settings, reconfigure, apply a
    // setup.
    bool prepareSetup();

private:
    bool expect(const char* step, HRESULT answer, HRESULT expected = S_OK) const;
    kite::Ref<kite::Window>& slot(WindowKind kind) noexcept;
    ComPtr<XmlDocumentObject> saved(HostEventId event, const char* root, bool& good) const;

    const PluginDriver& plugin_;
    kite::UiClock& clock_;
    StepLog log_;
    kite::Ref<kite::Window> windows_[3];
    ComPtr<XmlDocumentObject> settings_ = XmlDocumentObject::create("HostSettings");
    ComPtr<XmlDocumentObject> setup_;
};

// The toolkit window as the plug-in receives it in a window event.
IUnknown* asComUnknown(kite::Window& window) noexcept;

}  // namespace vexa::host
