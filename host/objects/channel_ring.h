// The ring buffers of one host channel: samples of a fixed size and their
// time stamps, written at the write position, which wraps at the end.
// Sample numbers count every sample written over the channel's life, so a
// reader that remembers how far it read never drops or counts a sample
// twice, whatever happened to the buffers in between.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/com.h"

namespace vexa::host {

class ChannelRing {
public:
    // Never longer than this many samples (a LONG position must hold it).
    static constexpr LONG kLongest = LONG{1} << 28;

    ChannelRing(LONG length, std::size_t sampleBytes);

    LONG length() const noexcept { return length_; }
    LONG position() const noexcept { return position_; }
    std::size_t sampleBytes() const noexcept { return sampleBytes_; }
    std::byte* samples() noexcept { return samples_.get(); }
    double* times() noexcept { return times_.get(); }
    const std::byte* sampleAt(LONG position) const noexcept {
        return samples_.get() + static_cast<std::size_t>(position) * sampleBytes_;
    }
    double timeAt(LONG position) const noexcept { return times_[static_cast<std::size_t>(position)]; }

    // Samples written so far; the first one the buffers still hold (older
    // ones were overwritten, or went with buffers made anew); where sample
    // `n` of those held lies.
    std::uint64_t written() const noexcept { return written_; }
    std::uint64_t oldestHeld() const noexcept;
    LONG positionOf(std::uint64_t n) const noexcept;

    // The writer has filled `samples` samples at the write position.
    void advance(LONG samples) noexcept;
    // The reader has taken every sample before `n`.
    void markRead(std::uint64_t n) noexcept { readMark_ = n; }

    // While this is above 0, buffers full of unread samples grow instead
    // of overwriting the oldest, as long as those span less than this many
    // seconds of time stamps: a reader that comes every few data steps
    // loses nothing, however fast the device, and one that stalls costs
    // bounded memory. At 0 (the default) they wrap like the host's own.
    void setHoldSeconds(double seconds) noexcept { holdSeconds_ = seconds; }

    // Empty buffers for another sample size or length: what the old ones
    // held is gone.
    void remake(LONG length, std::size_t sampleBytes);
    // Buffers of `length` that keep the newest samples held, in order.
    void resize(LONG length);

    // Buffers made by every ring so far (two each time: samples and times),
    // so that a host can tell its own allocations from a plug-in's.
    static std::uint64_t buffersMade() noexcept;

private:
    void growIfYoung() noexcept;

    std::unique_ptr<std::byte[]> samples_;
    std::unique_ptr<double[]> times_;
    LONG length_;
    LONG position_ = 0;
    std::size_t sampleBytes_;
    std::uint64_t written_ = 0;
    std::uint64_t start_ = 0;  // written_ when the buffers were made
    std::uint64_t readMark_ = 0;
    double holdSeconds_ = 0.0;
};

}  // namespace vexa::host
