#include "host_call_loop.h"

#include <cstring>

namespace vexa::bench {

// Every call's answer is checked, as the plug-in checks it.
void writeTimedSamples(HostChannel* const* channels, std::size_t channelCount, std::size_t values) {
    double time = 1.0;
    for (std::size_t i = 0, k = 0; i < values; ++i) {
        HostChannel* channel = channels[k];
        if (++k == channelCount) {
            k = 0;
            time += 1e-5;
        }
        VARIANT_BOOL used = VARIANT_FALSE;
        if (FAILED(channel->GetUsed(&used)) || used == VARIANT_FALSE) continue;
        LONG size = 0;
        LONG position = 0;
        BYTE* samples = nullptr;
        DOUBLE* times = nullptr;
        if (FAILED(channel->GetValueSize(&size)) || FAILED(channel->GetWritePosition(&position)) ||
            FAILED(channel->GetSampleBuffer(&samples)) || samples == nullptr)
            return;
        const double value = static_cast<double>(i & 0xFFFF);
        std::memcpy(samples + static_cast<std::size_t>(position) * static_cast<std::size_t>(size), &value,
                    sizeof value);
        if (FAILED(channel->GetTimeBuffer(&times)) || times == nullptr) return;
        times[position] = time;
        if (FAILED(channel->AdvanceWritePosition(1))) return;
    }
}

}  // namespace vexa::bench
