// A raw reader of the devices' streams: the same commands and the same bytes
// as the plug-in, over the same sockets, but every block received is
// discarded. What it reaches is what the devices and the transport allow.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vexa::bench {

struct RawRate {
    std::uint64_t values = 0;
    double seconds = 0;
    double valuesPerSecond() const { return seconds > 0 ? static_cast<double>(values) / seconds : 0; }
};

// Starts every device on 127.0.0.1 at `ports` with `channels`, reads their
// blocks one device after another, back to back, for `seconds`, and stops
// them.
RawRate readRaw(const std::vector<std::uint16_t>& ports, const std::vector<std::string>& channels, double seconds);

}  // namespace vexa::bench
