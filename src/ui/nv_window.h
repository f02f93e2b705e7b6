// The base of the plug-in's windows: a host window filled from markup, and
// handlers that outlive nothing.
//
// Lifetime: a window subscribes its handlers when it is made and never
// takes them back, and its timers cannot be stopped, so the toolkit may call
// a handler after the window object is gone (a late tick, an event of a
// window the host has not closed yet). Every handler therefore holds a watch
// on the window's LifeToken and does nothing once the window is destroyed;
// this holds as well for a window whose construction failed after it had
// subscribed, since its base part is destroyed then too. Handlers run on the
// host's user-interface thread, never during the window's destruction
// (itself a call on that thread), so the token going with the base part is
// early enough.
#pragma once

#include <string>

#include "ui/handler_delegate.h"
#include "ui/life_token.h"
#include "ui/window_ptr.h"

namespace Nerova::Kite {

class NVControl {};

class NVWindow : public NVControl {
public:
    // Loads markup resource `resourceName` into `window`. A null window
    // loads nothing and is no error; its first control lookup is.
    NVWindow(WindowPtr window, const std::string& resourceName);
    virtual ~NVWindow();
    NVWindow(const NVWindow&) = delete;
    NVWindow& operator=(const NVWindow&) = delete;

    const WindowPtr& window() const noexcept { return window_; }

protected:
    // `method` of this window, for subscribing; it runs only while the
    // window lives.
    template <class Window, class Sender, class Args>
    HandlerDelegate<Sender, Args> handler(void (Window::*method)(const Sender&, const Args&)) {
        return bindHandler(method, static_cast<Window*>(this), life_.watch());
    }

private:
    WindowPtr window_;
    LifeToken life_;
};

class NVDialog : public NVWindow {
public:
    using NVWindow::NVWindow;
};

}  // namespace Nerova::Kite
