#include "ui/setup_window.h"

#include <cstdint>
#include <vector>

#include "core/errors.h"
#include "device/device_list.h"
#include "device/vexa_device.h"
#include "output/output_channel.h"
#include "ui/value_text.h"

using namespace Nerova::Kite;

namespace {

constexpr Int columnCount = 9;
constexpr Int columnShown = 1;
constexpr Int tabSelectable = 1;
constexpr Int tabHeight = 25;
constexpr Int idColumn = 0, usedColumn = 1, storeColumn = 2, colorColumn = 3, groupColumn = 4,
              deviceNameColumn = 5, hostNameColumn = 6, unitColumn = 7, valueColumn = 8;
// In the order the grid is given them. The store column shares the used
// column's key.
constexpr GridColumn channelColumns[columnCount] = {
    {idColumn, "ID", "ID", ColumnKind::Number, 50},
    {usedColumn, "Used", "Used", ColumnKind::CheckBox, 60},
    {storeColumn, "Used", "Store", ColumnKind::CheckBox, 60},
    {colorColumn, "Color", "C", ColumnKind::ColorPick, 20},
    {hostNameColumn, "NameNerova", "Nerova name", ColumnKind::EditableText, 220},
    {deviceNameColumn, "NameVexa", "Vexa name", ColumnKind::Text, 220},
    {groupColumn, "GroupName", "Group", ColumnKind::Text, 220},
    {valueColumn, "Value", "Value", ColumnKind::LiveValue, 160},
    {unitColumn, "Unit", "Unit", ColumnKind::Text, 80},
};
constexpr Int statusInterval = 1000;
constexpr Int liveInterval = 100;
constexpr Color connectedColor = 0x005900;
constexpr Color disconnectedColor = 0x0000FF;
constexpr Color addressColor = 0;

}  // namespace

BaseSetupWindow::BaseSetupWindow(WindowPtr window, DeviceList& devices)
    : NVWindow(std::move(window), "ui/setup_window.xml"),
      devices_(&devices),
      deviceTabs_(this->window(), "deviceSelectionTabControl"),
      connectedLabel_(this->window(), "deviceConnectedLabel"),
      addressLabel_(this->window(), "deviceAddress"),
      channelSearch_(this->window(), "channelSearchEdit"),
      channelGrid_(this->window(), "channelGrid") {}

BaseSetupWindow::~BaseSetupWindow() = default;

SetupWindow::SetupWindow(WindowPtr window, DeviceList& devices)
    : BaseSetupWindow(std::move(window), devices), groupKey_(VexaChannelTable::kAllChannels) {
    subscribe(channelGrid_.cellProperties, handler(&SetupWindow::cellProperties));
    subscribe(channelGrid_.liveValue, handler(&SetupWindow::liveValue));
    subscribe(channelGrid_.cellAction, handler(&SetupWindow::cellAction));
    subscribe(channelGrid_.cellInput, handler(&SetupWindow::cellInput));
    subscribe(deviceTabs_.selectionChanged, handler(&SetupWindow::tabSelected));
    subscribe(channelSearch_.textChanged, handler(&SetupWindow::searchChanged));

    fillTabs();

    fitGridToChannels();
    for (const GridColumn& column : channelColumns) channelGrid_.defineColumn(column, columnShown);
    channelGrid_.column(idColumn).setResizable(false);
    channelGrid_.applyColumns();

    statusTimer_ = startTimer(statusInterval);
    subscribe(statusTimer_.tick, handler(&SetupWindow::statusTick));
    liveTimer_ = startTimer(liveInterval);
    subscribe(liveTimer_.tick, handler(&SetupWindow::liveTick));
}

SetupWindow::~SetupWindow() = default;

Timer SetupWindow::startTimer(Int interval) const {
    Timer timer(window().controlFactory());
    if (!timer) throw Nerova::RT::Core::InvalidParameterException();
    timer.setInterval(interval);
    return timer;
}

// Without devices the tab strip is collapsed and hidden, and there is no
// current device.
void SetupWindow::fillTabs() {
    const std::vector<std::shared_ptr<VexaDevice>> devices(devices_->begin(), devices_->end());
    if (devices.empty()) {
        deviceTabs_.setHeight(0);
        deviceTabs_.setHidden(true);
        return;
    }
    deviceTabs_.setHeight(tabHeight);
    deviceTabs_.setHidden(false);
    for (const auto& device : devices) deviceTabs_.addTab(device->deviceInfo()->name, tabSelectable);
    deviceTabs_.selectTab(0);
    currentDevice_ = devices.front();
}

void SetupWindow::fitGridToChannels() const {
    const std::size_t channels = currentDevice_ ? currentDevice_->channelTable().channels(groupKey_).size() : 0;
    channelGrid_.setSize(static_cast<Int>(channels) + 1, columnCount);
}

void SetupWindow::refreshStatus() const {
    if (!currentDevice_) return;
    const DeviceInfo& info = *currentDevice_->deviceInfo();
    connectedLabel_.setText(info.connected ? "Connected" : "Disconnected");
    connectedLabel_.font().setColor(info.connected ? connectedColor : disconnectedColor);
    addressLabel_.setText(info.ipAddress + ":" + std::to_string(info.port));
    addressLabel_.font().setColor(addressColor);
}

std::shared_ptr<VexaChannel> SetupWindow::channelAtRow(Int row) const {
    if (!currentDevice_ || row < 1) return nullptr;
    const VexaChannelTable::ChannelList channels = currentDevice_->channelTable().channels(groupKey_);
    if (static_cast<std::uint64_t>(row) > channels.size()) return nullptr;
    return channels[static_cast<std::size_t>(row - 1)];
}

// A channel has an output channel only once a setup was loaded or made;
// until then the columns that show it stay empty.
void SetupWindow::cellProperties(const NVDrawGrid&, const DrawGridCellPropsArgs& args) {
    const Int row = args.row();
    const Int column = args.column();
    const std::shared_ptr<VexaChannel> channel = channelAtRow(row);
    if (!channel) return;
    switch (column) {
    case idColumn: args.setNumber(static_cast<Float>(row)); return;
    case groupColumn: args.setText(channel->group()); return;
    case deviceNameColumn: args.setText(channel->deviceName()); return;
    default: break;
    }
    const auto& output = channel->output();
    if (!output) return;
    switch (column) {
    case usedColumn: args.setText(output->isUsed() ? "Used" : "Unused"); break;
    case storeColumn: args.setText("Store"); break;
    case colorColumn: args.setColor(output->getHostColor()); break;
    case hostNameColumn: args.setText(output->getHostName()); break;
    case unitColumn: args.setText(output->getHostUnit()); break;
    default: break;
    }
}

// The peak is given before the value, then the kind that shows both with
// the text.
void SetupWindow::liveValue(const NVDrawGrid&, const DrawGridLiveValueArgs& args) {
    if (args.column() != valueColumn) return;
    const std::shared_ptr<VexaChannel> channel = channelAtRow(args.row());
    if (!channel) return;
    const double value = channel->latestValue();
    args.setText(liveValueText(value));
    args.setPeak(value);
    args.setValue(value);
    args.setKind(LiveValueKind::TextAndBar);
}

void SetupWindow::cellAction(const NVDrawGrid&, const DrawGridCellActionEventArgs& args) {
    const std::shared_ptr<VexaChannel> channel = channelAtRow(args.row());
    if (!channel || !channel->output()) return;
    switch (args.column()) {
    case usedColumn: channel->output()->setUsed(args.checkState() != 0); break;
    case storeColumn: channel->output()->setStored(args.checkState() != 0); break;
    default: break;
    }
}

void SetupWindow::cellInput(const NVDrawGrid&, const DrawGridCellInputArgs& args) {
    const std::shared_ptr<VexaChannel> channel = channelAtRow(args.row());
    if (!channel) return;
    const auto& output = channel->output();
    switch (args.column()) {
    case colorColumn:
        if (output) output->setHostColor(args.inputColor());
        break;
    case hostNameColumn: {
        const std::string name = args.inputText();
        channel->setHostName(name);
        if (output) output->setName(name);
        break;
    }
    default: break;
    }
}

// The tab index is taken as a position in the device list as it is now;
// one past its end leaves the current device as it was.
void SetupWindow::tabSelected(const TabControl&, const EventArgs&) {
    const Int index = deviceTabs_.selectedIndex();
    if (index >= 0 && static_cast<std::uint64_t>(index) < devices_->size()) {
        currentDevice_ = *(devices_->begin() + index);
    }
    refreshStatus();
    fitGridToChannels();
}

void SetupWindow::searchChanged(const SearchEdit&, const EventArgs&) {
    if (channelGrid_) channelGrid_.search(channelSearch_.text(), 0);
}

void SetupWindow::statusTick(const Timer&, const EventArgs&) { refreshStatus(); }

void SetupWindow::liveTick(const Timer&, const EventArgs&) {
    if (channelGrid_) channelGrid_.repaint();
}
