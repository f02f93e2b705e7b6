#include "ui/nv_window.h"

#include "ui/markup_resource.h"

namespace Nerova::Kite {

NVWindow::NVWindow(WindowPtr window, const std::string& resourceName) : window_(std::move(window)) {
    if (!window_) return;
    window_.loadMarkup(markupText(resourceName));
}

NVWindow::~NVWindow() = default;

}  // namespace Nerova::Kite
