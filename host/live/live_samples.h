// What the live page shows of the samples that reach the host's channels:
// each data step it takes the samples written since its last look, feeds
// the plot with those of used channels and, while recording, keeps them for
// download. It reads the channels' ring buffers the way the recorder of
// `acquire` does, so a sample is never taken twice.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "host/live/plot_feed.h"
#include "host/live/recording.h"
#include "host/objects/channel_group.h"

namespace vexa::live {

struct SampleLimits {
    std::size_t recordingSamples = 1'000'000;  // about 24 MB
    double plotSeconds = 10.0;
    int plotSlices = 500;  // about one per pixel column of a wide plot
};

class LiveSamples {
public:
    explicit LiveSamples(const SampleLimits& limits = {});

    // Takes what was written since the last look; keeps it for download
    // when `record` is set.
    void collect(const host::ChannelGroupObject& group, bool record);
    // A new run: what the buffers hold now is old, the plot starts empty
    // and, when `record` is set, so does the recording.
    void restart(const host::ChannelGroupObject& group, bool record);

    const Recording& recording() const noexcept { return recording_; }
    // Samples taken since the feed was made, and samples the rings
    // overwrote before they could be taken.
    std::uint64_t taken() const noexcept { return taken_; }
    std::uint64_t lost() const noexcept { return lost_; }

    // The plot of the group's used channels: their names, colours and the
    // rows of PlotFeed::rows.
    Json plot(const host::ChannelGroupObject& group) const;

private:
    struct Seen {
        host::ChannelPtr channel;  // held: no other channel can take its address
        std::uint64_t read = 0;
    };
    Seen& seenOf(const host::ChannelPtr& channel);
    void forgetGone(const host::ChannelGroupObject& group);

    std::map<const host::ChannelObject*, Seen> seen_;
    Recording recording_;
    PlotFeed plot_;
    std::uint64_t taken_ = 0;
    std::uint64_t lost_ = 0;
};

// The plug-in's colour 0x00BBGGRR as "#RRGGBB".
std::string colorText(long color);

}  // namespace vexa::live
