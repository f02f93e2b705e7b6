// The host's window that the plug-in fills, and finding its controls.
#pragma once

#include <string>

#include "core/errors.h"
#include "ui/control_factory.h"
#include "ui/event_args.h"
#include "ui/event_slot.h"
#include "ui/kite_ptr.h"

namespace Nerova::Kite {

class WindowPtr : public ContentControlPtr<IWindow> {
public:
    WindowPtr() noexcept = default;
    template <class Source>
    explicit WindowPtr(Source* source) : ContentControlPtr(source) {}
    WindowPtr(const WindowPtr& other) : ContentControlPtr(other) {}
    WindowPtr(WindowPtr&& other) noexcept : ContentControlPtr(std::move(other)) {}
    WindowPtr& operator=(WindowPtr other) noexcept {
        ContentControlPtr::operator=(std::move(other));
        return *this;
    }

    // The window's control factory; empty for an empty window.
    ControlFactory controlFactory() const { return ControlFactory(get()); }

    // For a dialog: the result its caller receives, then closing it.
    void endDialog(Int result) const { checkResult(required()->endDialog(result)); }
    void close() const { checkResult(required()->close()); }

    EventSlot<WindowPtr, EventArgs> opened =
        eventSlot<WindowPtr, EventArgs, &IWindow::addOpenedHandler, &IWindow::removeOpenedHandler>(this);
    EventSlot<WindowPtr, EventArgs> closing =
        eventSlot<WindowPtr, EventArgs, &IWindow::addClosingHandler, &IWindow::removeClosingHandler>(this);
    EventSlot<WindowPtr, EventArgs> closed =
        eventSlot<WindowPtr, EventArgs, &IWindow::addClosedHandler, &IWindow::removeClosedHandler>(this);
};

// The control named `name` in `window` as interface `I`: empty when the
// window has no control of that name; a control of another type raises the
// refused request's status.
template <class I>
ObjectPtr<I> lookUpControl(const WindowPtr& window, const std::string& name) {
    if (!window) throw RT::Core::InvalidParameterException("Window must not be null.");
    return window.findChild<I>(name);
}

}  // namespace Nerova::Kite
