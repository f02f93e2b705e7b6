#include "ui/settings_window.h"

#include <cstdint>
#include <string>

#include "device/device_list.h"
#include "device/vexa_device.h"
#include "net/network_endpoint.h"

using namespace Nerova::Kite;
using Nerova::NvLib::Protocols::Ethernet::isValidIpAddress;
using Nerova::NvLib::Protocols::Ethernet::isValidPort;

namespace {

constexpr Int columnCount = 4;
constexpr Int columnShown = 1;
constexpr Int addressColumn = 0, portColumn = 1, nameColumn = 2, connectionColumn = 3;
constexpr GridColumn deviceColumns[columnCount] = {
    {addressColumn, "GridColumnIp", "Device IP", ColumnKind::EditableText, 90},
    {portColumn, "GridColumnPort", "Port", ColumnKind::EditableText, 60},
    {nameColumn, "GridColumnDeviceName", "Device name", ColumnKind::Text, 290},
    {connectionColumn, "Connection", "Connection", ColumnKind::Button, 110},
};
// Shorter texts are no address, whatever the address check says.
constexpr std::size_t shortestAddress = 4;

std::string cellText(const DeviceInfo& device, Int column) {
    switch (column) {
    case addressColumn: return device.ipAddress;
    case portColumn: return std::to_string(device.port);
    case nameColumn: return device.name;
    case connectionColumn: return device.connected ? "Disconnect" : "Connect";
    default: return {};
    }
}

}  // namespace

BaseSettingsWindow::BaseSettingsWindow(WindowPtr window, DeviceList& devices)
    : NVWindow(std::move(window), "ui/settings_window.xml"),
      devices_(&devices),
      addDeviceButton_(this->window(), "addDeviceButton"),
      removeDeviceButton_(this->window(), "removeDeviceButton"),
      deviceGrid_(this->window(), "deviceNVDrawGrid") {}

BaseSettingsWindow::~BaseSettingsWindow() = default;

SettingsWindow::SettingsWindow(WindowPtr window, DeviceList& devices)
    : BaseSettingsWindow(std::move(window), devices) {
    subscribe(addDeviceButton_.click, handler(&SettingsWindow::addDevice));
    subscribe(removeDeviceButton_.click, handler(&SettingsWindow::removeDevices));
    subscribe(deviceGrid_.cellAction, handler(&SettingsWindow::cellAction));
    subscribe(deviceGrid_.cellProperties, handler(&SettingsWindow::cellProperties));
    subscribe(deviceGrid_.cellInput, handler(&SettingsWindow::cellInput));

    fitGridToDevices();
    for (const GridColumn& column : deviceColumns) deviceGrid_.defineColumn(column, columnShown);
    deviceGrid_.setSortable(false);
    deviceGrid_.applyColumns();
}

SettingsWindow::~SettingsWindow() = default;

std::shared_ptr<VexaDevice> SettingsWindow::deviceAtRow(Int row) const {
    if (row < 1 || static_cast<std::uint64_t>(row) > devices_->size()) return nullptr;
    return *(devices_->begin() + (row - 1));
}

void SettingsWindow::fitGridToDevices() const {
    deviceGrid_.setSize(static_cast<Int>(devices_->size()) + 1, columnCount);
}

void SettingsWindow::addDevice(const Button&, const EventArgs&) {
    devices_->addDefaultDevice();
    fitGridToDevices();
    deviceGrid_.repaint();
}

// From the last row up, so that erasing a device leaves the rows above it
// showing the devices they did.
void SettingsWindow::removeDevices(const Button&, const EventArgs&) {
    for (Int row = deviceGrid_.rowCount() - 1; row >= 1; --row) {
        if (deviceGrid_.isRowSelected(row) && static_cast<std::uint64_t>(row - 1) < devices_->size()) {
            devices_->eraseAt(static_cast<std::size_t>(row - 1));
        }
    }
    fitGridToDevices();
    deviceGrid_.repaint();
}

void SettingsWindow::cellProperties(const NVDrawGrid&, const DrawGridCellPropsArgs& args) {
    const std::shared_ptr<VexaDevice> device = deviceAtRow(args.row());
    if (!device) return;
    args.setText(cellText(*device->deviceInfo(), args.column()));
}

void SettingsWindow::cellAction(const NVDrawGrid&, const DrawGridCellActionEventArgs& args) {
    const std::shared_ptr<VexaDevice> device = deviceAtRow(args.row());
    if (!device || args.column() != connectionColumn) return;
    if (device->deviceInfo()->connected) {
        device->closeConnection();
    } else {
        device->openConnection();
    }
}

void SettingsWindow::cellInput(const NVDrawGrid&, const DrawGridCellInputArgs& args) {
    const std::shared_ptr<VexaDevice> device = deviceAtRow(args.row());
    if (!device) return;
    switch (args.column()) {
    case addressColumn: editAddress(*device, args.inputText()); break;
    case portColumn: editPort(*device, args.inputText()); break;
    default: break;
    }
}

void SettingsWindow::editAddress(VexaDevice& device, const std::string& text) {
    DeviceInfo& info = *device.deviceInfo();
    // The device's own pair counts as taken too: typing the same address
    // again does nothing.
    const bool accepted = text.size() >= shortestAddress && isValidIpAddress(text) &&
                          isValidPort(std::to_string(info.port)) && !devices_->contains(text, info.port);
    if (!accepted) return;
    info.ipAddress = text;
    device.openConnection();
}

// The port text is read as std::stoi reads it: leading blanks and a sign
// are allowed and trailing characters ignored. No number at all, or one out
// of range, throws, which the toolkit receives as the general error.
void SettingsWindow::editPort(VexaDevice& device, const std::string& text) {
    const int port = std::stoi(text);
    DeviceInfo& info = *device.deviceInfo();
    const bool accepted = isValidIpAddress(info.ipAddress) && isValidPort(std::to_string(port)) &&
                          !devices_->contains(info.ipAddress, static_cast<std::uint32_t>(port)) &&
                          port >= firstPort && port <= lastPort;
    if (!accepted) return;
    info.port = static_cast<std::uint32_t>(port);
    device.openConnection();
}
