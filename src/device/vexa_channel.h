// One measured quantity of a device: what the device calls it, the name
// the host shows, its colour, the host output channel that receives its
// samples, and its latest value for the live display.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "output/output_types.h"

namespace Nerova::Utils::Ncom::OutputChannel {
class OutputChannel;
class OutputFactory;
}  // namespace Nerova::Utils::Ncom::OutputChannel

namespace Nerova::Utils::Serialization {
class Node;
}

struct VexaChannelInfo {
    std::uint32_t index = 0;  // 1-based position in the device's channel list
    std::string fullName;     // as the device sent it; what RUN names
    std::string group;
    std::string deviceName;
    std::string hostName;  // the user may rename the host channel
    std::string unit;
    std::uint32_t outputParameter = 0;
    Nerova::Utils::Ncom::OutputChannel::OutputChannelType outputType =
        Nerova::Utils::Ncom::OutputChannel::timedDoubleChannel;
    std::uint32_t colour = 0;
};

// The colour of the channel at 1-based position `index`.
std::uint32_t channelColour(std::uint32_t index) noexcept;

class VexaChannel {
public:
    // All ones: the output key that makes the factory answer with a new
    // output channel, and what a missing stored value reads as.
    static constexpr std::uint32_t kNewOutput = 0xFFFFFFFFu;
    using OutputFactory = Nerova::Utils::Ncom::OutputChannel::OutputFactory;
    using OutputChannel = Nerova::Utils::Ncom::OutputChannel::OutputChannel;

    // `outputFactory` is not owned; it outlives every channel.
    VexaChannel(OutputFactory* outputFactory, VexaChannelInfo info);
    virtual ~VexaChannel();
    VexaChannel(const VexaChannel&) = delete;
    VexaChannel& operator=(const VexaChannel&) = delete;

    // Takes the factory's output channel under `key` (a key it does not
    // hold, such as all ones, makes a new one) and gives it this channel's
    // name, unit, parameter and colour.
    void createOutput(Nerova::Utils::Ncom::OutputChannel::OutputChannelKey key);
    // Removes the output channel, and with it the host channel, if any.
    void releaseOutput();

    // Position, host name and (when bound) output key into a "Channel" node.
    void saveSetup(Nerova::Utils::Serialization::Node& node) const;
    // Host name and output channel from a stored "Channel" node; a key the
    // node lacks gives a fresh output channel.
    void loadSetup(const Nerova::Utils::Serialization::Node& node);
    // The position a "Channel" node was stored for; kNewOutput if none.
    static std::uint32_t storedPosition(const Nerova::Utils::Serialization::Node& node);
    // Back to the device's own name, on a fresh output channel.
    void resetToDeviceName();

    const VexaChannelInfo& info() const noexcept { return info_; }
    std::uint32_t index() const noexcept { return info_.index; }
    const std::string& fullName() const noexcept { return info_.fullName; }
    const std::string& group() const noexcept { return info_.group; }
    const std::string& deviceName() const noexcept { return info_.deviceName; }
    const std::string& hostName() const noexcept { return info_.hostName; }
    void setHostName(std::string name) { info_.hostName = std::move(name); }
    const std::string& unit() const noexcept { return info_.unit; }
    std::uint32_t colour() const noexcept { return info_.colour; }
    const std::shared_ptr<OutputChannel>& output() const noexcept { return output_; }
    OutputFactory* outputFactory() const noexcept { return outputFactory_; }

    // Written by the acquisition, read by the live display on another
    // thread: both are whole 64-bit values at every moment.
    double latestValue() const noexcept { return latestValue_.load(std::memory_order_relaxed); }
    double latestTimestamp() const noexcept { return latestTimestamp_.load(std::memory_order_relaxed); }
    void setLatest(double value, double timestamp) noexcept {
        latestValue_.store(value, std::memory_order_relaxed);
        latestTimestamp_.store(timestamp, std::memory_order_relaxed);
    }
    void resetTimestamp() noexcept { latestTimestamp_.store(0.0, std::memory_order_relaxed); }

private:
    // What every acquired value touches comes first, on one cache line.
    std::shared_ptr<OutputChannel> output_;
    std::atomic<double> latestTimestamp_{0.0};
    std::atomic<double> latestValue_{0.0};
    OutputFactory* outputFactory_;
    VexaChannelInfo info_;
};
