// The samples of a live run kept for download, bounded: a run of any length
// keeps at most `capacity` samples, the newest, so memory stays bounded and
// the page can say how much is kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "host/sample_recorder.h"

namespace vexa::live {

class Recording {
public:
    // Bytes one kept sample costs; what the page reports as the size.
    static constexpr std::size_t kSampleBytes = 24;

    explicit Recording(std::size_t capacity);

    void add(const std::string& channel, double time, double value);
    void clear();

    std::size_t size() const noexcept { return count_; }
    std::size_t capacity() const noexcept { return samples_.size(); }
    // Samples recorded and later dropped to make room for newer ones.
    std::uint64_t dropped() const noexcept { return dropped_; }
    std::size_t bytes() const noexcept { return count_ * kSampleBytes; }

    // The samples kept, oldest first, as `acquire --out` writes them:
    // the header channel,time,value and one row per sample.
    std::string csv() const;

private:
    struct Sample {
        double time;
        double value;
        std::uint32_t channel;  // in names_
    };
    std::uint32_t nameIndex(const std::string& channel);

    std::vector<Sample> samples_;  // a ring of `capacity`
    std::size_t next_ = 0;
    std::size_t count_ = 0;
    std::uint64_t dropped_ = 0;
    std::vector<std::string> names_;
    std::map<std::string, std::uint32_t> indexOf_;
};

using host::csvField;  // the recorder's quoting, shared

}  // namespace vexa::live
