// The setup window: one tab per device with its connection status and
// address, and a grid of the device's channels in which the user chooses
// which are used and stored, colours and renames them, and watches their
// latest values. Every choice goes straight into the channel's output
// channel or the device channel; the window stores nothing.
//
// The tabs are built once, from the device list of the moment the window
// is made. The grid's row count follows the current device's channel list
// only then and at a tab change. A status timer refreshes the status labels
// every second and a live timer repaints the grid ten times a second.
//
// Lifetime: see nv_window.h. The window holds its current device, and with
// it that device's channels and their output channels: the plug-in drops
// its windows before the output factory those channels use.
#pragma once

#include <memory>
#include <string>

#include "ui/controls.h"
#include "ui/draw_grid.h"
#include "ui/nv_window.h"
#include "ui/timer.h"

class DeviceList;
class VexaChannel;
class VexaDevice;

class BaseSetupWindow : public Nerova::Kite::NVWindow {
public:
    ~BaseSetupWindow() override;

protected:
    // Loads the setup markup into `window` and finds its controls.
    BaseSetupWindow(Nerova::Kite::WindowPtr window, DeviceList& devices);

    DeviceList* devices_;  // the plug-in's; outlives the window
    Nerova::Kite::TabControl deviceTabs_;
    Nerova::Kite::Label connectedLabel_;
    Nerova::Kite::Label addressLabel_;
    Nerova::Kite::SearchEdit channelSearch_;
    Nerova::Kite::NVDrawGrid channelGrid_;
};

class SetupWindow final : public BaseSetupWindow {
public:
    SetupWindow(Nerova::Kite::WindowPtr window, DeviceList& devices);
    ~SetupWindow() override;

private:
    using EventArgs = Nerova::Kite::EventArgs;
    using NVDrawGrid = Nerova::Kite::NVDrawGrid;
    using Int = Nerova::Kite::Int;

    void cellProperties(const NVDrawGrid& sender, const Nerova::Kite::DrawGridCellPropsArgs& args);
    void liveValue(const NVDrawGrid& sender, const Nerova::Kite::DrawGridLiveValueArgs& args);
    void cellAction(const NVDrawGrid& sender, const Nerova::Kite::DrawGridCellActionEventArgs& args);
    void cellInput(const NVDrawGrid& sender, const Nerova::Kite::DrawGridCellInputArgs& args);
    void tabSelected(const Nerova::Kite::TabControl& sender, const EventArgs& args);
    void searchChanged(const Nerova::Kite::SearchEdit& sender, const EventArgs& args);
    void statusTick(const Nerova::Kite::Timer& sender, const EventArgs& args);
    void liveTick(const Nerova::Kite::Timer& sender, const EventArgs& args);

    void fillTabs();
    void fitGridToChannels() const;
    void refreshStatus() const;
    // A timer from the window's control factory, running every `interval`
    // milliseconds.
    Nerova::Kite::Timer startTimer(Int interval) const;
    // The channel grid row `row` shows: none for the header, past the end,
    // or without a current device.
    std::shared_ptr<VexaChannel> channelAtRow(Int row) const;

    std::shared_ptr<VexaDevice> currentDevice_;
    std::string groupKey_;
    Nerova::Kite::Timer statusTimer_;
    Nerova::Kite::Timer liveTimer_;
};
