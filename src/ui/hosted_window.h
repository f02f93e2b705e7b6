// What the plug-in's windows share: the host window they live in and the
// plug-in's shared state they read.
#pragma once

#include <string_view>

#include "platform/com_ptr.h"

class PluginCore;

class HostedWindow {
public:
    HostedWindow(const HostedWindow&) = delete;
    HostedWindow& operator=(const HostedWindow&) = delete;

    IUnknown* hostWindow() const noexcept { return hostWindow_.get(); }
    PluginCore* core() const noexcept { return core_; }

protected:
    // Keeps a reference to `hostWindow` for the window's life. Throws
    // std::invalid_argument naming `kind` when there is no host window.
    HostedWindow(IUnknown* hostWindow, PluginCore* core, std::string_view kind);
    ~HostedWindow() = default;

private:
    vexa::ComPtr<IUnknown> hostWindow_;
    PluginCore* core_;
};
