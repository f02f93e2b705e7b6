#include "ui/hosted_window.h"

#include <stdexcept>
#include <string>

HostedWindow::HostedWindow(IUnknown* hostWindow, PluginCore* core, std::string_view kind)
    : hostWindow_(hostWindow), core_(core) {
    if (!hostWindow_) throw std::invalid_argument("The " + std::string(kind) + " window has no host window.");
}
