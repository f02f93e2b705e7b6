#include "host/objects/channel_ring.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>

namespace vexa::host {

namespace {

std::atomic<std::uint64_t> buffers{0};

LONG validLength(LONG length) noexcept { return std::clamp<LONG>(length, 1, ChannelRing::kLongest); }

}  // namespace

std::uint64_t ChannelRing::buffersMade() noexcept {
    return buffers.load(std::memory_order_relaxed);
}

ChannelRing::ChannelRing(LONG length, std::size_t sampleBytes) : length_(validLength(length)), sampleBytes_(sampleBytes) {
    remake(length_, sampleBytes_);
}

std::uint64_t ChannelRing::oldestHeld() const noexcept {
    return written_ - std::min<std::uint64_t>(written_ - start_, static_cast<std::uint64_t>(length_));
}

LONG ChannelRing::positionOf(std::uint64_t n) const noexcept {
    const auto back = static_cast<std::int64_t>(written_ - n) % length_;
    const std::int64_t at = position_ - back;
    return static_cast<LONG>(at < 0 ? at + length_ : at);
}

void ChannelRing::advance(LONG samples) noexcept {
    // Most writers advance by one: a comparison instead of a division.
    const std::int64_t next = std::int64_t{position_} + samples;
    position_ = static_cast<LONG>(next < length_ ? next : next % length_);
    written_ += static_cast<std::uint64_t>(samples);
    if (holdSeconds_ > 0.0 && written_ - readMark_ >= static_cast<std::uint64_t>(length_)) growIfYoung();
}

// The buffers are full of unread samples: the next write would overwrite
// the oldest, which sits at the write position.
void ChannelRing::growIfYoung() noexcept {
    if (length_ > kLongest / 2) return;
    const double newest = times_[static_cast<std::size_t>(position_ == 0 ? length_ - 1 : position_ - 1)];
    const double oldest = times_[static_cast<std::size_t>(position_)];
    if (newest - oldest >= holdSeconds_) return;
    try {
        resize(length_ * 2);
    } catch (const std::bad_alloc&) {
        // Without memory the ring wraps, as it would without growing.
    }
}

void ChannelRing::remake(LONG length, std::size_t sampleBytes) {
    const LONG valid = validLength(length);
    std::vector<std::byte> samples(static_cast<std::size_t>(valid) * sampleBytes);
    std::vector<double> times(static_cast<std::size_t>(valid));
    buffers.fetch_add(2, std::memory_order_relaxed);
    samples_.swap(samples);
    times_.swap(times);
    length_ = valid;
    sampleBytes_ = sampleBytes;
    position_ = 0;
    start_ = written_;
}

void ChannelRing::resize(LONG length) {
    const LONG valid = validLength(length);
    const std::uint64_t keep = std::min<std::uint64_t>(written_ - oldestHeld(), static_cast<std::uint64_t>(valid));
    std::vector<std::byte> samples(static_cast<std::size_t>(valid) * sampleBytes_);
    std::vector<double> times(static_cast<std::size_t>(valid));
    buffers.fetch_add(2, std::memory_order_relaxed);
    for (std::uint64_t i = 0; i < keep; ++i) {
        const LONG from = positionOf(written_ - keep + i);
        std::memcpy(samples.data() + i * sampleBytes_, sampleAt(from), sampleBytes_);
        times[i] = timeAt(from);
    }
    samples_.swap(samples);
    times_.swap(times);
    length_ = valid;
    position_ = static_cast<LONG>(keep % static_cast<std::uint64_t>(valid));
    start_ = written_ - keep;
}

}  // namespace vexa::host
