// A window of the host that a plug-in fills with markup. It answers
// IWindow and IControlFactory. Its content and the timers made through it
// live until new content replaces them or the host drops the window; then
// they stop and let go of every handler they hold, so nothing calls into
// the plug-in's window object that subscribed them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/kite/control.h"
#include "host/kite/timer.h"

namespace vexa::kite {

class UiClock;

// A handler that answered a failing status, as the window noted it.
struct HandlerFailure {
    std::string component;
    std::string event;
    ErrCode status;
};

class Window final : public ParentObject<IWindow, IControlFactory> {
public:
    explicit Window(UiClock& clock);
    ~Window() override;
    const char* typeName() const noexcept override { return "Window"; }

    // What the host does with its window.
    // Shows it: the opened event, then a paint.
    void open();
    // Stops its timers and lets go of its content and of every handler;
    // from then on it takes no markup, handler or timer.
    void drop() noexcept;
    bool dropped() const noexcept { return dropped_; }
    // Asks every control again for what it shows (grids ask their cells).
    void refresh();
    Json json() const;

    // The window itself, a control of its content or a component it made,
    // by name; null when there is none.
    Component* find(const std::string& name);
    const std::vector<Ref<Timer>>& timers() const noexcept { return timers_; }
    const std::string& title() const noexcept { return title_; }
    std::optional<Int> dialogResult() const noexcept { return dialogResult_; }
    bool closed() const noexcept { return closed_; }
    // Every failing handler status since the window was made.
    const std::vector<HandlerFailure>& failures() const noexcept { return failures_; }
    void noteFailure(const std::string& component, const std::string& event, ErrCode status);

    ErrCode loadMarkup(IString* markup) noexcept override;
    ErrCode getTitle(IString** out) noexcept override;
    ErrCode setTitle(IString* value) noexcept override;
    ErrCode endDialog(Int result) noexcept override;
    ErrCode close() noexcept override;
    ErrCode addOpenedHandler(IEventHandler* h) noexcept override { return addHandler(0, h); }
    ErrCode removeOpenedHandler(IEventHandler* h) noexcept override { return removeHandler(0, h); }
    ErrCode addClosingHandler(IEventHandler* h) noexcept override { return addHandler(1, h); }
    ErrCode removeClosingHandler(IEventHandler* h) noexcept override { return removeHandler(1, h); }
    ErrCode addClosedHandler(IEventHandler* h) noexcept override { return addHandler(2, h); }
    ErrCode removeClosedHandler(IEventHandler* h) noexcept override { return removeHandler(2, h); }

    ErrCode createControl(IString* typeName, IString* name, IComponent** control) noexcept override;

private:
    void retireContent() noexcept;
    void writeOwnJson(Json& out) const override;

    UiClock& clock_;
    std::string title_;
    std::optional<Int> dialogResult_;
    bool closed_ = false;
    bool dropped_ = false;
    bool refreshing_ = false;
    std::vector<Ref<Timer>> timers_;
    std::vector<Ref<Control>> made_;
    std::vector<HandlerFailure> failures_;
};

}  // namespace vexa::kite
