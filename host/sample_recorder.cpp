#include "host/sample_recorder.h"

namespace vexa::host {

namespace {

// A CSV field: quoted when it holds a separator, a quote or a line break.
std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace

SampleRecorder::SampleRecorder(std::FILE* out) : out_(out) {
    if (out_ != nullptr) std::fputs("channel,time,value\n", out_);
}

void SampleRecorder::collect(const ChannelGroupObject& group) {
    for (const ChannelPtr& channel : group.channels()) {
        const std::uint64_t written = channel->samplesWritten();
        std::uint64_t& seen = seen_[channel.get()];
        if (written <= seen) continue;
        std::uint64_t fresh = written - seen;
        const auto capacity = static_cast<std::uint64_t>(channel->bufferLength());
        if (fresh > capacity) {
            lost_ += fresh - capacity;
            fresh = capacity;
        }
        const std::string& name = channel->settings().name;
        const std::string field = csvField(name);
        // The newest sample sits just before the write position.
        const std::int64_t length = channel->bufferLength();
        std::int64_t position = (channel->writePosition() - static_cast<std::int64_t>(fresh)) % length;
        if (position < 0) position += length;
        for (std::uint64_t k = 0; k < fresh; ++k) {
            const auto at = static_cast<LONG>((position + static_cast<std::int64_t>(k)) % length);
            // 17 significant digits read back as the same double.
            if (out_ != nullptr)
                std::fprintf(out_, "%s,%.17g,%.17g\n", field.c_str(), channel->timeAt(at), channel->valueAt(at));
        }
        counts_[name] += fresh;
        seen = written;
    }
}

}  // namespace vexa::host
