#include "host_call_loop.h"

#include <cstring>

namespace vexa::bench {

namespace {

// One timed sample as the host calls for it; false when a call failed.
bool writeOne(HostChannel* channel, double value, double time) {
    VARIANT_BOOL used = VARIANT_FALSE;
    if (FAILED(channel->GetUsed(&used))) return false;
    if (used == VARIANT_FALSE) return true;
    LONG size = 0;
    LONG position = 0;
    BYTE* samples = nullptr;
    DOUBLE* times = nullptr;
    if (FAILED(channel->GetValueSize(&size)) || FAILED(channel->GetWritePosition(&position)) ||
        FAILED(channel->GetSampleBuffer(&samples)) || samples == nullptr)
        return false;
    std::memcpy(samples + static_cast<std::size_t>(position) * static_cast<std::size_t>(size), &value, sizeof value);
    if (FAILED(channel->GetTimeBuffer(&times)) || times == nullptr) return false;
    times[position] = time;
    return SUCCEEDED(channel->AdvanceWritePosition(1));
}

}  // namespace

// Every call's answer is checked, as the plug-in checks it.
void writeTimedSamples(HostChannel* const* channels, std::size_t channelCount, std::size_t perDevice,
                       std::size_t records, std::size_t values) {
    double time = 1.0;
    std::size_t done = 0;
    while (done < values) {
        for (std::size_t first = 0; first + perDevice <= channelCount && done < values; first += perDevice) {
            for (std::size_t r = 0; r < records && done < values; ++r, time += 1e-5) {
                for (std::size_t k = 0; k < perDevice; ++k, ++done) {
                    if (!writeOne(channels[first + k], static_cast<double>(done & 0xFFFF), time)) return;
                }
            }
        }
    }
}

}  // namespace vexa::bench
