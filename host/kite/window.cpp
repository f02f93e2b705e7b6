#include "host/kite/window.h"

#include <nlohmann/json.hpp>

#include "host/kite/event_args.h"
#include "host/kite/markup_reader.h"
#include "host/kite/ui_clock.h"

namespace vexa::kite {

namespace {

enum Event : std::size_t { Opened = 0, Closing = 1, Closed = 2 };

}  // namespace

Window::Window(UiClock& clock) : ParentObject({"Opened", "Closing", "Closed"}), clock_(clock) { attachTo(this); }

// The plug-in may still hold controls or timers of this window.
Window::~Window() { retireContent(); }

void Window::open() {
    closed_ = false;
    auto args = make<EventArgs>("Opened");
    deliver(Opened, args.get());
}

void Window::drop() noexcept {
    if (dropped_) return;
    dropped_ = true;
    retireContent();
    Control::retire();
}

void Window::refresh() {
    if (refreshing_ || dropped_) return;
    refreshing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{refreshing_};
    forEach([](Control& control) { control.paint(); });
}

Json Window::json() const {
    Json out = Json::object();
    writeJson(out);
    return out;
}

Component* Window::find(const std::string& wanted) {
    if (wanted.empty()) return nullptr;
    if (name() == wanted) return this;
    if (Control* found = findDescendant(wanted)) return found;
    for (const Ref<Timer>& timer : timers_)
        if (timer->name() == wanted) return timer.get();
    for (const Ref<Control>& control : made_)
        if (control->name() == wanted) return control.get();
    return nullptr;
}

void Window::noteFailure(const std::string& component, const std::string& event, ErrCode status) {
    failures_.push_back({component, event, status});
}

void Window::retireContent() noexcept {
    for (const Ref<Control>& control : takeChildren()) control->retire();
    for (const Ref<Timer>& timer : std::exchange(timers_, {})) timer->retire();
    for (const Ref<Control>& control : std::exchange(made_, {})) control->retire();
}

ErrCode Window::loadMarkup(IString* markup) noexcept {
    return kiteCall([&] {
        if (dropped_) throw KiteError(errInvalidState, "the window was dropped: it takes no markup");
        if (markup == nullptr) throw KiteError(errArgumentNull, "no markup to load");
        Markup read = readMarkup(textOf(markup));
        // The old content goes with the timers that served it.
        retireContent();
        if (read.window) {
            rename(read.window->name);
            title_ = read.window->title;
            background = read.window->background;
            width = read.window->width;
            height = read.window->height;
        }
        for (Ref<Control>& control : read.content) {
            control->forEach([this](Control& each) { each.attachTo(this); });
            appendChild(std::move(control));
        }
    });
}

ErrCode Window::getTitle(IString** out) noexcept {
    return kiteCall([&] { giveString(out, title_); });
}

ErrCode Window::setTitle(IString* value) noexcept {
    return kiteCall([&] { title_ = textOf(value); });
}

ErrCode Window::endDialog(Int result) noexcept {
    dialogResult_ = result;
    return errOk;
}

ErrCode Window::close() noexcept {
    return kiteCall([&] {
        if (closed_) return;
        auto closing = make<EventArgs>("Closing");
        raise(Closing, closing.get());
        closed_ = true;
        auto closedArgs = make<EventArgs>("Closed");
        raise(Closed, closedArgs.get());
    });
}

ErrCode Window::createControl(IString* typeName, IString* name, IComponent** control) noexcept {
    return kiteCall([&] {
        if (typeName == nullptr) throw KiteError(errArgumentNull, "createControl needs a type name");
        if (dropped_) throw KiteError(errInvalidState, "the window was dropped: it makes nothing");
        outParameter(control);
        const std::string type = textOf(typeName);
        const std::string given = textOf(name);
        if (!given.empty() && find(given) != nullptr)
            throw KiteError(errAlreadyExists, "the window already has a control named '" + given + "'");
        if (type == "Timer") {
            auto timer = make<Timer>(clock_);
            timer->rename(given);
            timer->attachTo(this);
            timers_.push_back(timer);
            giveObject(control, static_cast<ITimer*>(timer.get()));
            return;
        }
        Ref<Control> made = makeControl(type);
        if (!made) throw KiteError(errInvalidParameter, "the toolkit makes no control of type '" + type + "'");
        made->rename(given);
        made->attachTo(this);
        made_.push_back(made);
        giveObject(control, static_cast<IComponent*>(made->asControl()));
    });
}

void Window::writeOwnJson(Json& out) const {
    out["title"] = title_;
    out["closed"] = closed_;
    if (dialogResult_) out["dialogResult"] = *dialogResult_;
}

}  // namespace vexa::kite
