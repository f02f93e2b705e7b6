// How a device's identity and its channel bindings are kept in the host's
// settings and setup documents.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "device/channel_table.h"
#include "device/vexa_channel.h"
#include "device/vexa_device.h"
#include "output/output_channel.h"
#include "serialization/node.h"
#include "serialization/node_values.h"

using Nerova::Utils::Serialization::Node;
using Nerova::Utils::Serialization::NodePtr;
using Nerova::Utils::Serialization::readNumber;
using Nerova::Utils::Serialization::readText;
using Nerova::Utils::Serialization::writeNumber;
using Nerova::Utils::Serialization::writeText;

namespace {

// All ones: a stored value that is missing, and the key the output factory
// answers with a new output channel.
constexpr std::uint32_t kNone = 0xFFFFFFFFu;

constexpr char kChannels[] = "VexaChannels";
constexpr char kChannel[] = "Channel";
constexpr char kPosition[] = "VexaChannelPosition";
constexpr char kHostName[] = "VexaNvChannelName";
constexpr char kOutputKey[] = "NvChannelId";

// The stored "Channel" nodes of one device, with their positions read only
// when a lookup first needs them: a malformed position further down does
// not stop channels that were found before it.
class StoredChannels {
public:
    explicit StoredChannels(const NodePtr& channelsNode) {
        if (!channelsNode) return;
        const std::uint32_t count = channelsNode->childCount();
        for (std::uint32_t i = 0; i < count; ++i) {
            NodePtr child = channelsNode->childAt(i);
            if (child && child->name() == kChannel) nodes_.push_back(std::move(child));
        }
        positions_.resize(nodes_.size());
    }

    // The first node stored for `position`, or null.
    const Node* find(std::uint32_t position) {
        for (std::size_t i = 0; i < nodes_.size(); ++i) {
            if (!positions_[i]) positions_[i] = readNumber<std::uint32_t>(*nodes_[i], kPosition, kNone);
            if (*positions_[i] == position) return nodes_[i].get();
        }
        return nullptr;
    }

private:
    std::vector<NodePtr> nodes_;
    std::vector<std::optional<std::uint32_t>> positions_;
};

}  // namespace

void VexaChannel::saveSetup(Node& node) const {
    writeNumber(node, kPosition, info_.index);
    writeText(node, kHostName, info_.hostName);
    if (output_) writeNumber(node, kOutputKey, output_->getKey());
}

void VexaChannel::loadSetup(const Node& node) {
    info_.hostName = readText(node, kHostName);
    createOutput(readNumber<std::uint32_t>(node, kOutputKey, kNone));
}

void VexaChannel::resetToDeviceName() {
    info_.hostName = info_.deviceName;
    if (output_) output_->setName(info_.deviceName);
    createOutput(kNone);
}

void VexaChannelTable::saveSetup(Node& deviceNode) const {
    NodePtr channelsNode = deviceNode.addChild(kChannels);
    for (const auto& channel : channels(kAllChannels)) channel->saveSetup(*channelsNode->addChild(kChannel));
}

void VexaChannelTable::loadSetup(const Node& deviceNode) {
    StoredChannels stored(deviceNode.findChild(kChannels));
    for (const auto& channel : channels(kAllChannels)) {
        if (const Node* node = stored.find(channel->index())) channel->loadSetup(*node);
        else channel->createOutput(kNone);
    }
}

void VexaChannelTable::setDefaults() {
    for (const auto& channel : channels(kAllChannels)) channel->createOutput(kNone);
}

void VexaChannelTable::resetToDeviceNames() {
    for (const auto& channel : channels(kAllChannels)) channel->resetToDeviceName();
}

void VexaDevice::serializeSettings(Node& node) {
    if (node.isWriting()) {
        writeText(node, "IpAddress", deviceInfo_->ipAddress);
        writeNumber(node, "PortNumber", deviceInfo_->port);
        writeText(node, "DeviceName", deviceInfo_->name);
        return;
    }
    // The open connection, if any, belongs to the identity being replaced.
    closeConnection();
    auto info = std::make_shared<DeviceInfo>();
    info->ipAddress = readText(node, "IpAddress");
    info->port = readNumber<std::uint32_t>(node, "PortNumber", 0);
    info->name = readText(node, "DeviceName");
    info->connected = false;
    deviceInfo_ = std::move(info);
}
