#include "host/live/live_samples.h"

#include <algorithm>

namespace vexa::live {

using host::ChannelGroupObject;
using host::ChannelObject;
using host::ChannelPtr;

std::string colorText(long color) { return kite::colorText(static_cast<kite::Color>(color)); }

LiveSamples::LiveSamples(const SampleLimits& limits)
    : recording_(limits.recordingSamples), plot_(limits.plotSeconds, limits.plotSlices) {}

LiveSamples::Seen& LiveSamples::seenOf(const ChannelPtr& channel) {
    Seen& seen = seen_[channel.get()];
    if (!seen.channel) seen.channel = channel;
    return seen;
}

// A channel the host removed (a setup applied anew) takes its trace along.
void LiveSamples::forgetGone(const ChannelGroupObject& group) {
    for (auto it = seen_.begin(); it != seen_.end();) {
        const bool present = std::any_of(group.channels().begin(), group.channels().end(),
                                         [&](const ChannelPtr& channel) { return channel.get() == it->first; });
        if (present) {
            ++it;
            continue;
        }
        plot_.forget(it->first);
        it = seen_.erase(it);
    }
}

void LiveSamples::collect(const ChannelGroupObject& group, bool record) {
    forgetGone(group);
    for (const ChannelPtr& channel : group.channels()) {
        Seen& seen = seenOf(channel);
        const std::uint64_t written = channel->samplesWritten();
        if (written <= seen.read) continue;
        std::uint64_t fresh = written - seen.read;
        const auto length = static_cast<std::int64_t>(channel->bufferLength());
        if (fresh > static_cast<std::uint64_t>(length)) {
            lost_ += fresh - static_cast<std::uint64_t>(length);
            fresh = static_cast<std::uint64_t>(length);
        }
        const bool plotted = channel->settings().used;
        const std::string& name = channel->settings().name;
        // The newest sample sits just before the write position.
        std::int64_t position = (channel->writePosition() - static_cast<std::int64_t>(fresh)) % length;
        if (position < 0) position += length;
        for (std::uint64_t k = 0; k < fresh; ++k) {
            const auto at = static_cast<LONG>((position + static_cast<std::int64_t>(k)) % length);
            const double time = channel->timeAt(at);
            const double value = channel->valueAt(at);
            if (plotted) plot_.add(channel.get(), time, value);
            if (record) recording_.add(name, time, value);
        }
        taken_ += fresh;
        seen.read = written;
    }
}

void LiveSamples::restart(const ChannelGroupObject& group, bool record) {
    forgetGone(group);
    for (const ChannelPtr& channel : group.channels()) seenOf(channel).read = channel->samplesWritten();
    plot_.clear();
    if (record) recording_.clear();
}

Json LiveSamples::plot(const ChannelGroupObject& group) const {
    Json labels = Json::array({"host time (s)"});
    Json colors = Json::array();
    std::vector<const void*> traces;
    for (const ChannelPtr& channel : group.channels()) {
        if (!channel->settings().used) continue;
        labels.push_back(channel->settings().name);
        colors.push_back(colorText(channel->settings().color));
        traces.push_back(channel.get());
    }
    Json out = Json::object();
    out["labels"] = std::move(labels);
    out["colors"] = std::move(colors);
    out["rows"] = plot_.rows(traces);
    return out;
}

}  // namespace vexa::live
