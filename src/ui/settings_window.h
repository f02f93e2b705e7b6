// The settings window: the plug-in's device list as a grid, one row per
// device with its address, port, name and a connect button; devices are
// added, removed, readdressed and (dis)connected here. The window stores
// nothing: every handler reads the device list as it is at that moment, and
// the grid shows a change when it next asks for its cells (the handlers do
// not repaint after an edit or a button press).
//
// Lifetime: see nv_window.h. The host drops the window with its drop event;
// handlers the toolkit calls after that do nothing.
#pragma once

#include <memory>
#include <string>

#include "ui/controls.h"
#include "ui/draw_grid.h"
#include "ui/nv_window.h"

class DeviceList;
class VexaDevice;

class BaseSettingsWindow : public Nerova::Kite::NVWindow {
public:
    ~BaseSettingsWindow() override;

protected:
    // Loads the settings markup into `window` and finds its controls.
    BaseSettingsWindow(Nerova::Kite::WindowPtr window, DeviceList& devices);

    DeviceList* devices_;  // the plug-in's; outlives the window
    Nerova::Kite::Button addDeviceButton_;
    Nerova::Kite::Button removeDeviceButton_;
    Nerova::Kite::NVDrawGrid deviceGrid_;
};

class SettingsWindow final : public BaseSettingsWindow {
public:
    SettingsWindow(Nerova::Kite::WindowPtr window, DeviceList& devices);
    ~SettingsWindow() override;

    // The ports a device may be given here.
    static constexpr int firstPort = 5963;
    static constexpr int lastPort = 5967;

private:
    using EventArgs = Nerova::Kite::EventArgs;
    using Button = Nerova::Kite::Button;
    using NVDrawGrid = Nerova::Kite::NVDrawGrid;

    void addDevice(const Button& sender, const EventArgs& args);
    void removeDevices(const Button& sender, const EventArgs& args);
    void cellAction(const NVDrawGrid& sender, const Nerova::Kite::DrawGridCellActionEventArgs& args);
    void cellProperties(const NVDrawGrid& sender, const Nerova::Kite::DrawGridCellPropsArgs& args);
    void cellInput(const NVDrawGrid& sender, const Nerova::Kite::DrawGridCellInputArgs& args);

    // An edit that is refused changes nothing and says nothing; an accepted
    // one connects the device at once.
    void editAddress(VexaDevice& device, const std::string& text);
    void editPort(VexaDevice& device, const std::string& text);

    // The device grid row `row` shows; none for the header or past the end.
    std::shared_ptr<VexaDevice> deviceAtRow(Nerova::Kite::Int row) const;
    void fitGridToDevices() const;
};
