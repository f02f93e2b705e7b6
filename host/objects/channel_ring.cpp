#include "host/objects/channel_ring.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace vexa::host {

namespace {

std::atomic<std::uint64_t> buffers{0};

// Each growth doubles: fresh memory is the dear part of growing (a page
// fault each 4 KiB), and a ring grows only as far as a reader fell behind.
constexpr LONG kGrowth = 2;

// New zeroed buffers, their pages mapped in one call rather than one fault
// each: on a virtual machine a fault can cost ten microseconds, and a ring
// that grows in the middle of a data step would then cost more time than
// the samples it makes room for took to arrive.
template <class T>
std::unique_ptr<T[]> zeroed(std::size_t count) {
    auto buffer = std::make_unique_for_overwrite<T[]>(count);
    const std::size_t bytes = count * sizeof(T);
#ifdef __linux__
    constexpr int kPopulateWrite = 23;  // MADV_POPULATE_WRITE, Linux 5.14; harmless before
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(buffer.get());
    const auto first = (start + page - 1) & ~(page - 1);
    const auto last = (start + bytes) & ~(page - 1);
    if (first < last) madvise(reinterpret_cast<void*>(first), last - first, kPopulateWrite);
#endif
    std::memset(static_cast<void*>(buffer.get()), 0, bytes);
    buffers.fetch_add(1, std::memory_order_relaxed);
    return buffer;
}

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
    if (length_ > kLongest / kGrowth) return;
    const double newest = times_[static_cast<std::size_t>(position_ == 0 ? length_ - 1 : position_ - 1)];
    const double oldest = times_[static_cast<std::size_t>(position_)];
    if (newest - oldest >= holdSeconds_) return;
    try {
        resize(length_ * kGrowth);
    } catch (const std::bad_alloc&) {
        // Without memory the ring wraps, as it would without growing.
    }
}

void ChannelRing::remake(LONG length, std::size_t sampleBytes) {
    const LONG valid = validLength(length);
    auto samples = zeroed<std::byte>(static_cast<std::size_t>(valid) * sampleBytes);
    auto times = zeroed<double>(static_cast<std::size_t>(valid));
    samples_ = std::move(samples);
    times_ = std::move(times);
    length_ = valid;
    sampleBytes_ = sampleBytes;
    position_ = 0;
    start_ = written_;
}

void ChannelRing::resize(LONG length) {
    const LONG valid = validLength(length);
    const std::uint64_t keep = std::min<std::uint64_t>(written_ - oldestHeld(), static_cast<std::uint64_t>(valid));
    auto samples = zeroed<std::byte>(static_cast<std::size_t>(valid) * sampleBytes_);
    auto times = zeroed<double>(static_cast<std::size_t>(valid));
    // The kept samples lie in at most two pieces: up to the end of the old
    // buffers, and from their start.
    for (std::uint64_t done = 0; done < keep;) {
        const auto from = static_cast<std::size_t>(positionOf(written_ - keep + done));
        const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(keep - done, static_cast<std::uint64_t>(length_) - from));
        std::memcpy(samples.get() + done * sampleBytes_, samples_.get() + from * sampleBytes_, count * sampleBytes_);
        std::memcpy(times.get() + done, times_.get() + from, count * sizeof(double));
        done += count;
    }
    samples_ = std::move(samples);
    times_ = std::move(times);
    length_ = valid;
    position_ = static_cast<LONG>(keep % static_cast<std::uint64_t>(valid));
    start_ = written_ - keep;
}

}  // namespace vexa::host
