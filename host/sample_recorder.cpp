#include "host/sample_recorder.h"

#include <algorithm>

namespace vexa::host {

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

SampleRecorder::SampleRecorder(std::FILE* out) : out_(out) {
    if (out_ != nullptr) std::fputs("channel,time,value\n", out_);
}

SampleRecorder::Seen& SampleRecorder::seenOf(const ChannelPtr& channel) {
    const auto found = seen_.find(channel.get());
    if (found != seen_.end()) return found->second;
    Seen& seen = seen_[channel.get()];
    seen.channel = channel;
    seen.count = &counts_[channel->settings().name];
    return seen;
}

void SampleRecorder::collect(const ChannelGroupObject& group) {
    for (const ChannelPtr& channel : group.channels()) {
        const std::uint64_t written = channel->samplesWritten();
        Seen& seen = seenOf(channel);
        if (written == seen.read) continue;
        const std::uint64_t from = std::max(seen.read, channel->oldestHeld());
        lost_ += from - seen.read;
        if (out_ != nullptr) write(*channel, from, written);
        *seen.count += written - from;
        total_ += written - from;
        seen.read = written;
        channel->markRead(written);
    }
}

void SampleRecorder::write(const ChannelObject& channel, std::uint64_t from, std::uint64_t to) {
    const std::string field = csvField(channel.settings().name);
    for (std::uint64_t n = from; n < to; ++n) {
        const LONG at = channel.positionOf(n);
        // 17 significant digits read back as the same double.
        std::fprintf(out_, "%s,%.17g,%.17g\n", field.c_str(), channel.timeAt(at), channel.valueAt(at));
    }
}

}  // namespace vexa::host
