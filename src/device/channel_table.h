// A device's channels by group. The group "allChannels" always exists and
// holds every channel in the order of the device's channel list, which is
// the order of the RUN command and of the values in every record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "device/vexa_channel.h"

namespace Nerova::Utils::Serialization {
class Node;
}

class VexaChannelTable {
public:
    using OutputFactory = VexaChannel::OutputFactory;
    using ChannelList = std::vector<std::shared_ptr<VexaChannel>>;
    static constexpr const char* kAllChannels = "allChannels";

    // `hostContext` is not owned; it outlives every device.
    explicit VexaChannelTable(OutputFactory* hostContext);
    VexaChannelTable(const VexaChannelTable&) = delete;
    VexaChannelTable& operator=(const VexaChannelTable&) = delete;

    // Adds a channel to its group (made if missing) and, unless that group
    // is "allChannels" itself, to the end of "allChannels".
    void addChannel(std::uint32_t index, const std::string& fullName, const std::string& group,
                    const std::string& deviceName, const std::string& hostName, const std::string& unit);
    std::size_t channelCount() const;
    // A copy of the group's list; an unknown group gives an empty list and
    // is not added (the setup window asks on every repaint).
    ChannelList channels(const std::string& group) const;
    // Every channel in record order, without a copy: valid until the lists
    // change.
    const ChannelList& allChannels() const noexcept { return *all_; }
    // Empties every list but keeps the groups.
    void clearLists();

    // A "VexaChannels" child under the device's node, one "Channel" per
    // channel in list order.
    void saveSetup(Nerova::Utils::Serialization::Node& deviceNode) const;
    // Binds every channel to what the device's node stored for its
    // position; channels it holds nothing for get fresh output channels.
    void loadSetup(const Nerova::Utils::Serialization::Node& deviceNode);
    // Every channel on a fresh output channel, keeping its host name.
    void setDefaults();
    // Every channel back to its device name, on a fresh output channel.
    void resetToDeviceNames();

    OutputFactory* hostContext() const noexcept { return hostContext_; }
    const std::unordered_map<std::string, ChannelList>& groups() const noexcept { return groups_; }

private:
    OutputFactory* hostContext_;
    std::unordered_map<std::string, ChannelList> groups_;
    // The "allChannels" list, which is never erased: elements of an
    // unordered_map stay where they are.
    ChannelList* all_ = nullptr;
};
