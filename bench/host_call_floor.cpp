#include "host_call_floor.h"

#include <vector>

#include "host/acquisition_stats.h"
#include "host/objects/channel_group.h"
#include "host_call_loop.h"

namespace vexa::bench {

double hostCallFloorNanoseconds(std::size_t channels, std::size_t values) {
    std::vector<host::ChannelPtr> objects;
    std::vector<HostChannel*> interfaces;
    for (std::size_t k = 0; k < channels; ++k) {
        // Rings that wrap, as the plug-in finds them in a healthy run.
        objects.push_back(host::makeHostObject<host::ChannelObject>(4096));
        objects.back()->settings().used = true;
        interfaces.push_back(objects.back().get());
    }
    writeTimedSamples(interfaces.data(), channels, values / 10);  // warm the caches
    const double begin = host::threadCpuSeconds();
    writeTimedSamples(interfaces.data(), channels, values);
    return (host::threadCpuSeconds() - begin) * 1e9 / static_cast<double>(values);
}

}  // namespace vexa::bench
