#include "device/channel_table.h"

VexaChannelTable::VexaChannelTable(OutputFactory* hostContext) : hostContext_(hostContext) {
    groups_.max_load_factor(1.0f);
    groups_.rehash(8);
    groups_.emplace(kAllChannels, ChannelList{});
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
    const auto all = groups_.find(kAllChannels);
    return all == groups_.end() ? 0 : all->second.size();
}

VexaChannelTable::ChannelList VexaChannelTable::channels(const std::string& group) const {
    const auto found = groups_.find(group);
    return found == groups_.end() ? ChannelList{} : found->second;
}

void VexaChannelTable::clearLists() {
    for (auto& [name, list] : groups_) list.clear();
}
