// The device list in the host's documents: which devices exist (settings)
// and what their channels are bound to (setup).
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "device/device_list.h"
#include "device/vexa_device.h"
#include "serialization/node.h"
#include "serialization/node_values.h"

using Nerova::Utils::Serialization::Node;
using Nerova::Utils::Serialization::NodePtr;

namespace {

constexpr char kDefaultAddress[] = "127.0.0.1";
constexpr std::uint32_t kDefaultPort = 5963;

constexpr char kDevicesSettings[] = "VexaDevicesSettings";
constexpr char kDeviceSettings[] = "VexaDeviceSettings";
constexpr char kDevicesSetup[] = "VexaDevicesSetup";
constexpr char kDeviceSetup[] = "VexaDeviceSetup";
constexpr char kAddress[] = "IpAddress";
constexpr char kPort[] = "PortNumber";

std::string attributeText(const Node& node, const char* name) {
    const NodePtr attribute = node.findAttribute(name);
    return attribute ? attribute->text() : std::string();
}

// The stored port as the setup match has always read it: leading blanks
// and a sign allowed, trailing text ignored, anything else refused with the
// same texts on every build.
int storedPort(const std::string& text) {
    try {
        return std::stoi(text);
    } catch (const std::invalid_argument&) {
        throw std::invalid_argument("invalid stoi argument");
    } catch (const std::out_of_range&) {
        throw std::out_of_range("stoi argument out of range");
    }
}

// The port text is read only once the address matched: a setup may hold
// devices of other lists whose ports were never looked at.
bool storedFor(const DeviceInfo& info, const std::string& address, const std::string& portText) {
    return info.ipAddress == address && std::int64_t{info.port} == storedPort(portText);
}

// A missing parent holds nothing: every device then falls to the defaults.
std::vector<NodePtr> childrenOf(const NodePtr& parent, const char* name) {
    std::vector<NodePtr> children;
    if (!parent) return children;
    const std::uint32_t count = parent->childCount();
    for (std::uint32_t i = 0; i < count; ++i) {
        NodePtr child = parent->childAt(i);
        if (child && child->name() == name) children.push_back(std::move(child));
    }
    return children;
}

}  // namespace

std::shared_ptr<VexaDevice> DeviceList::addDefaultDevice() { return add(kDefaultAddress, kDefaultPort); }

void DeviceList::eraseAt(std::size_t position) {
    if (position >= devices_.size()) throw std::out_of_range("no device at this position");
    devices_.erase(devices_.begin() + static_cast<std::ptrdiff_t>(position));
}

bool DeviceList::contains(const std::string& ipAddress, std::uint32_t port) const {
    for (const auto& device : devices_) {
        const DeviceInfo& info = *device->deviceInfo();
        if (info.ipAddress == ipAddress && info.port == port) return true;
    }
    return false;
}

void DeviceList::serializeSettings(Node& node) {
    if (node.isWriting()) {
        const NodePtr devicesNode = node.addChild(kDevicesSettings);
        for (const auto& device : devices_) device->serializeSettings(*devicesNode->addChild(kDeviceSettings));
        return;
    }
    // Devices a window still holds live on outside the list.
    devices_.clear();
    for (const NodePtr& stored : childrenOf(node.findChild(kDevicesSettings), kDeviceSettings)) {
        auto device = VexaDevice::create({}, 0, outputFactory_);
        device->serializeSettings(*stored);
        // A device that cannot be reached is logged and stays in the list,
        // so the user sees it and can connect it later.
        device->openConnection();
        devices_.push_back(std::move(device));
    }
}

void DeviceList::saveSetup(Node& node) const {
    const NodePtr devicesNode = node.addChild(kDevicesSetup);
    for (const auto& device : devices_) {
        const NodePtr deviceNode = devicesNode->addChild(kDeviceSetup);
        const DeviceInfo& info = *device->deviceInfo();
        deviceNode->addAttribute(kAddress, info.ipAddress);
        deviceNode->addAttribute(kPort, Nerova::Utils::Serialization::decimalText(std::uint64_t{info.port}));
        device->channelTable().saveSetup(*deviceNode);
    }
}

void DeviceList::loadSetup(const Node& node) {
    Devices remaining = devices_;
    std::vector<NodePtr> unmatched;
    for (const NodePtr& stored : childrenOf(node.findChild(kDevicesSetup), kDeviceSetup)) {
        const std::string address = attributeText(*stored, kAddress);
        const std::string portText = attributeText(*stored, kPort);
        auto match = remaining.begin();
        while (match != remaining.end() && !storedFor(*(*match)->deviceInfo(), address, portText)) ++match;
        if (match == remaining.end()) {
            unmatched.push_back(stored);
            continue;
        }
        (*match)->channelTable().loadSetup(*stored);
        remaining.erase(match);
    }
    // A setup saved for other addresses still fits by position.
    for (std::size_t k = 0; k < remaining.size(); ++k) {
        if (k < unmatched.size()) remaining[k]->channelTable().loadSetup(*unmatched[k]);
        else remaining[k]->channelTable().setDefaults();
    }
}

void DeviceList::resetSetup() {
    for (const auto& device : devices_) device->channelTable().resetToDeviceNames();
}
