// Takes the samples the plug-in wrote into the host's channels since the last
// look and writes them as CSV rows: channel,time,value.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

#include "host/objects/channel_group.h"

namespace vexa::host {

class SampleRecorder {
public:
    // `out` may be null: then samples are only counted.
    explicit SampleRecorder(std::FILE* out);

    // Records every sample written since the previous call, channel by
    // channel in the group's order.
    void collect(const ChannelGroupObject& group);

    // Samples recorded per channel name, and samples the ring buffers
    // overwrote before they could be read.
    const std::map<std::string, std::uint64_t>& counts() const noexcept { return counts_; }
    std::uint64_t lost() const noexcept { return lost_; }

private:
    std::FILE* out_;
    std::map<const ChannelObject*, std::uint64_t> seen_;
    std::map<std::string, std::uint64_t> counts_;
    std::uint64_t lost_ = 0;
};

}  // namespace vexa::host
