// A dialog with one close button. Nothing the host sends opens it; whoever
// opens one holds it for as long as the dialog runs. A click that arrives
// after the object is gone does nothing (see nv_window.h).
#pragma once

#include "ui/controls.h"
#include "ui/nv_window.h"

class ModalWindow final : public Nerova::Kite::NVDialog {
public:
    // The dialog's own result when its close button closes it, and when
    // anything else does.
    static constexpr Nerova::Kite::Int closedByButton = 1;
    static constexpr Nerova::Kite::Int closedOtherwise = 2;

    // Loads the dialog markup into `window` and binds its close button; a
    // null window fails at the button.
    explicit ModalWindow(Nerova::Kite::WindowPtr window);
    ~ModalWindow() override;

private:
    void closeDialog(const Nerova::Kite::Button& sender, const Nerova::Kite::EventArgs& args);

    Nerova::Kite::Button closeButton_;
};
