// The live plot's data: for each channel the last `span` seconds of host
// time, in slices of equal width, each holding the lowest, the mean and the
// highest value that fell into it. However fast a device, the page gets at
// most `slices` points per channel, and a short peak still shows.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <vector>

#include "host/kite/json_text.h"

namespace vexa::live {

using Json = kite::Json;

class PlotFeed {
public:
    PlotFeed(double spanSeconds, int slices);

    // `trace` names the channel; any stable key will do.
    void add(const void* trace, double time, double value);
    void forget(const void* trace);
    void clear();

    // Rows in time order for the traces given, in that order:
    // [time, [low, mean, high] or null per trace]. Only slices within the
    // span of the newest sample are written.
    Json rows(const std::vector<const void*>& traces) const;
    double newest() const noexcept { return newest_ * width_; }

private:
    struct Slice {
        std::int64_t index;
        double low;
        double high;
        double sum;
        std::uint32_t count;
    };
    void trim(std::deque<Slice>& slices) const;

    double width_;
    std::int64_t slices_;
    std::int64_t newest_ = INT64_MIN;
    std::map<const void*, std::deque<Slice>> traces_;
};

}  // namespace vexa::live
