// A device's channels by group. For now it only carries the output factory
// its channels will be made with and the always-present "allChannels" group;
// the channels themselves arrive with the configuration reader.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace Nerova::Utils::Ncom::OutputChannel {
class OutputFactory;
}

class VexaChannel;

class VexaChannelTable {
public:
    using OutputFactory = Nerova::Utils::Ncom::OutputChannel::OutputFactory;
    using ChannelList = std::vector<std::shared_ptr<VexaChannel>>;
    // Every channel stands in this group, in the order the device lists them.
    static constexpr const char* kAllChannels = "allChannels";

    // `hostContext` is not owned; it outlives every device.
    explicit VexaChannelTable(OutputFactory* hostContext) : hostContext_(hostContext) {
        groups_.max_load_factor(1.0f);
        groups_.rehash(8);
        groups_.emplace(kAllChannels, ChannelList{});
    }

    OutputFactory* hostContext() const { return hostContext_; }
    const std::unordered_map<std::string, ChannelList>& groups() const { return groups_; }

private:
    OutputFactory* hostContext_;
    std::unordered_map<std::string, ChannelList> groups_;
};
