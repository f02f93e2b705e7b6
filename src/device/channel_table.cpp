#include "device/channel_table.h"

#include <optional>

#include "serialization/node.h"

using Nerova::Utils::Serialization::Node;
using Nerova::Utils::Serialization::NodePtr;

namespace {

constexpr char kChannels[] = "VexaChannels";
constexpr char kChannel[] = "Channel";

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
            if (!positions_[i]) positions_[i] = VexaChannel::storedPosition(*nodes_[i]);
            if (*positions_[i] == position) return nodes_[i].get();
        }
        return nullptr;
    }

private:
    std::vector<NodePtr> nodes_;
    std::vector<std::optional<std::uint32_t>> positions_;
};

}  // namespace

VexaChannelTable::VexaChannelTable(OutputFactory* hostContext) : hostContext_(hostContext) {
    groups_.max_load_factor(1.0f);
    groups_.rehash(8);
    all_ = &groups_.emplace(kAllChannels, ChannelList{}).first->second;
}

void VexaChannelTable::addChannel(std::uint32_t index, const std::string& fullName, const std::string& group,
                                  const std::string& deviceName, const std::string& hostName,
                                  const std::string& unit) {
    VexaChannelInfo info;
    info.index = index;
    info.fullName = fullName;
    info.group = group;
    info.deviceName = deviceName;
    info.hostName = hostName;
    info.unit = unit;
    info.colour = channelColour(index);
    auto channel = std::make_shared<VexaChannel>(hostContext_, std::move(info));
    groups_[group].push_back(channel);
    if (group != kAllChannels) groups_[kAllChannels].push_back(std::move(channel));
}

std::size_t VexaChannelTable::channelCount() const {
    return all_->size();
}

VexaChannelTable::ChannelList VexaChannelTable::channels(const std::string& group) const {
    const auto found = groups_.find(group);
    return found == groups_.end() ? ChannelList{} : found->second;
}

void VexaChannelTable::clearLists() {
    for (auto& [name, list] : groups_) list.clear();
}

void VexaChannelTable::saveSetup(Node& deviceNode) const {
    NodePtr channelsNode = deviceNode.addChild(kChannels);
    for (const auto& channel : channels(kAllChannels)) channel->saveSetup(*channelsNode->addChild(kChannel));
}

void VexaChannelTable::loadSetup(const Node& deviceNode) {
    StoredChannels stored(deviceNode.findChild(kChannels));
    for (const auto& channel : channels(kAllChannels)) {
        if (const Node* node = stored.find(channel->index())) channel->loadSetup(*node);
        else channel->createOutput(VexaChannel::kNewOutput);
    }
}

void VexaChannelTable::setDefaults() {
    for (const auto& channel : channels(kAllChannels)) channel->createOutput(VexaChannel::kNewOutput);
}

void VexaChannelTable::resetToDeviceNames() {
    for (const auto& channel : channels(kAllChannels)) channel->resetToDeviceName();
}
