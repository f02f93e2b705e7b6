#include "ui/modal_window.h"

using namespace Nerova::Kite;

ModalWindow::ModalWindow(WindowPtr window)
    : NVDialog(std::move(window), "ui/modal_window.xml"), closeButton_(this->window(), "closeButton") {
    subscribe(closeButton_.click, handler(&ModalWindow::closeDialog));
}

ModalWindow::~ModalWindow() = default;

void ModalWindow::closeDialog(const Button& sender, const EventArgs&) {
    window().endDialog(sender.get() == closeButton_.get() ? closedByButton : closedOtherwise);
    window().close();
}
