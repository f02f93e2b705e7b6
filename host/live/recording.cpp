#include "host/live/recording.h"

#include <cstdio>
#include <stdexcept>

namespace vexa::live {

Recording::Recording(std::size_t capacity) : samples_(capacity) {
    if (capacity == 0) throw std::invalid_argument("a recording keeps at least one sample");
}

// Names are kept once each; a channel renamed mid-run gets its new name
// from then on, as the rows of `acquire --out` do.
std::uint32_t Recording::nameIndex(const std::string& channel) {
    const auto found = indexOf_.find(channel);
    if (found != indexOf_.end()) return found->second;
    const auto index = static_cast<std::uint32_t>(names_.size());
    names_.push_back(channel);
    indexOf_.emplace(channel, index);
    return index;
}

void Recording::add(const std::string& channel, double time, double value) {
    samples_[next_] = {time, value, nameIndex(channel)};
    next_ = (next_ + 1) % samples_.size();
    if (count_ < samples_.size())
        ++count_;
    else
        ++dropped_;
}

void Recording::clear() {
    next_ = 0;
    count_ = 0;
    dropped_ = 0;
    names_.clear();
    indexOf_.clear();
}

std::string Recording::csv() const {
    std::vector<std::string> fields;
    fields.reserve(names_.size());
    for (const std::string& name : names_) fields.push_back(csvField(name));
    std::string text = "channel,time,value\n";
    text.reserve(text.size() + count_ * 48);
    const std::size_t first = (next_ + samples_.size() - count_) % samples_.size();
    char row[96];
    for (std::size_t k = 0; k < count_; ++k) {
        const Sample& sample = samples_[(first + k) % samples_.size()];
        // 17 significant digits read back as the same double.
        const int length = std::snprintf(row, sizeof row, ",%.17g,%.17g\n", sample.time, sample.value);
        text += fields[sample.channel];
        text.append(row, static_cast<std::size_t>(length));
    }
    return text;
}

}  // namespace vexa::live
