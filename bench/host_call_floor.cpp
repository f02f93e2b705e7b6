#include "host_call_floor.h"

#include <vector>

#include "host/acquisition_stats.h"
#include "host/objects/channel_group.h"
#include "host_call_loop.h"

namespace vexa::bench {

double hostCallFloorNanoseconds(std::size_t devices, std::size_t channels, std::size_t records, long ringSamples,
                                std::size_t values) {
    std::vector<host::ChannelPtr> objects;
    std::vector<HostChannel*> interfaces;
    for (std::size_t k = 0; k < devices * channels; ++k) {
        objects.push_back(host::makeHostObject<host::ChannelObject>(static_cast<LONG>(ringSamples)));
        objects.back()->settings().used = true;
        interfaces.push_back(objects.back().get());
    }
    const std::size_t total = interfaces.size();
    writeTimedSamples(interfaces.data(), total, channels, records, values / 10);  // warm the caches
    const double begin = host::threadCpuSeconds();
    writeTimedSamples(interfaces.data(), total, channels, records, values);
    return (host::threadCpuSeconds() - begin) * 1e9 / static_cast<double>(values);
}

}  // namespace vexa::bench
