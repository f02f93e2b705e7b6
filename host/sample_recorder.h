// Takes the samples the plug-in wrote into the host's channels since the last
// look and writes them as CSV rows: channel,time,value.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

#include "host/objects/channel_group.h"

namespace vexa::host {

// A CSV field: quoted when it holds a separator, a quote or a line break.
std::string csvField(const std::string& text);

class SampleRecorder {
public:
    // `out` may be null: then samples are only counted.
    explicit SampleRecorder(std::FILE* out);

    // Records every sample written since the previous call, channel by
    // channel in the group's order, and tells each channel how far it was
    // read. Samples are counted by their numbers over the channel's life,
    // so buffers that grew or were made anew in between change nothing.
    void collect(const ChannelGroupObject& group);

    // Samples recorded per channel name, and samples that were gone before
    // they could be read: overwritten in a full ring, or held by buffers
    // the host made anew.
    const std::map<std::string, std::uint64_t>& counts() const noexcept { return counts_; }
    std::uint64_t lost() const noexcept { return lost_; }
    // All samples recorded.
    std::uint64_t total() const noexcept { return total_; }

private:
    struct Seen {
        ChannelPtr channel;  // held, so that no other channel takes its address
        std::uint64_t read = 0;
        std::uint64_t* count = nullptr;
    };
    Seen& seenOf(const ChannelPtr& channel);
    void write(const ChannelObject& channel, std::uint64_t from, std::uint64_t to);

    std::FILE* out_;
    std::map<const ChannelObject*, Seen> seen_;
    std::map<std::string, std::uint64_t> counts_;
    std::uint64_t lost_ = 0;
    std::uint64_t total_ = 0;
};

}  // namespace vexa::host
