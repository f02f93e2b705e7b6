#include "host/live/plot_feed.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace vexa::live {

namespace {

// Seven significant digits: what a screen can show, in a third of the
// text a double would take.
double shown(double value) {
    if (!std::isfinite(value)) return value;
    char text[32];
    std::snprintf(text, sizeof text, "%.7g", value);
    return std::strtod(text, nullptr);
}

}  // namespace

PlotFeed::PlotFeed(double spanSeconds, int slices) : width_(spanSeconds / slices), slices_(slices) {
    if (!(spanSeconds > 0) || slices < 1) throw std::invalid_argument("a plot spans some time in slices");
}

void PlotFeed::add(const void* trace, double time, double value) {
    if (!std::isfinite(time)) return;
    const auto index = static_cast<std::int64_t>(std::floor(time / width_));
    std::deque<Slice>& slices = traces_[trace];
    // A sample a little older than the newest slice (the clock fit moved
    // back) joins that slice: a plot cannot show the difference.
    if (!slices.empty() && index <= slices.back().index) {
        Slice& last = slices.back();
        last.low = std::fmin(last.low, value);
        last.high = std::fmax(last.high, value);
        last.sum += value;
        ++last.count;
    } else {
        slices.push_back({index, value, value, value, 1});
    }
    newest_ = std::max(newest_, index);
    trim(slices);
}

void PlotFeed::trim(std::deque<Slice>& slices) const {
    while (!slices.empty() && slices.front().index <= newest_ - slices_) slices.pop_front();
}

void PlotFeed::forget(const void* trace) { traces_.erase(trace); }

void PlotFeed::clear() {
    traces_.clear();
    newest_ = INT64_MIN;
}

Json PlotFeed::rows(const std::vector<const void*>& traces) const {
    // slice index -> one entry per trace
    std::map<std::int64_t, std::vector<const Slice*>> table;
    for (std::size_t k = 0; k < traces.size(); ++k) {
        const auto found = traces_.find(traces[k]);
        if (found == traces_.end()) continue;
        for (const Slice& slice : found->second) {
            if (slice.index <= newest_ - slices_) continue;
            std::vector<const Slice*>& row = table[slice.index];
            row.resize(traces.size(), nullptr);
            row[k] = &slice;
        }
    }
    Json rows = Json::array();
    for (const auto& [index, slices] : table) {
        Json row = Json::array({shown(static_cast<double>(index) * width_)});
        for (const Slice* slice : slices) {
            if (slice == nullptr) {
                row.push_back(nullptr);
                continue;
            }
            row.push_back(Json::array({shown(slice->low), shown(slice->sum / slice->count), shown(slice->high)}));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace vexa::live
