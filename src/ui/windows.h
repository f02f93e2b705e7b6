// The plug-in's three windows. Each one exists between the host's create and
// drop events; for now it only holds its place in the host window.
#pragma once

#include "ui/hosted_window.h"

class SettingsWindow final : public HostedWindow {
public:
    SettingsWindow(IUnknown* hostWindow, PluginCore* core) : HostedWindow(hostWindow, core, "settings") {}
};

class SetupWindow final : public HostedWindow {
public:
    SetupWindow(IUnknown* hostWindow, PluginCore* core) : HostedWindow(hostWindow, core, "setup") {}
};

class AnalysisWindow final : public HostedWindow {
public:
    AnalysisWindow(IUnknown* hostWindow, PluginCore* core) : HostedWindow(hostWindow, core, "analysis") {}
};
