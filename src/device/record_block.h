// The records of one measurement block, read in place. Each record is a
// status byte, the device time and one value per running channel, all
// big-endian; nothing here touches a socket or the host.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "device/protocol.h"

namespace vexa::protocol {

// A device time stamp as the record carries it.
struct DeviceTime {
    std::int32_t seconds = 0;
    // Read signed, like the seconds: a device never sends more than 999 999 999.
    std::int32_t nanoseconds = 0;

    double inSeconds() const noexcept { return static_cast<double>(seconds) + static_cast<double>(nanoseconds) / 1e9; }
};

class RecordBlock {
public:
    // One record of the block; valid while the block's bytes are.
    class Record {
    public:
        Record(const std::uint8_t* bytes, std::size_t channelCount) noexcept
            : bytes_(bytes), channelCount_(channelCount) {}

        std::uint8_t status() const noexcept { return bytes_[kStatusOffset]; }
        // Only records with status '0' carry measured values.
        bool valid() const noexcept { return status() == '0'; }
        DeviceTime time() const noexcept {
            return {readBigEndianInt32(bytes_ + kSecondsOffset), readBigEndianInt32(bytes_ + kNanosecondsOffset)};
        }
        // The value of the channel at `channel` in RUN order; below channelCount().
        float value(std::size_t channel) const noexcept {
            return readBigEndianFloat32(bytes_ + kValuesOffset + 4 * channel);
        }
        std::size_t channelCount() const noexcept { return channelCount_; }

    private:
        // Where the fields lie: a three-byte tag, the status, seconds,
        // nanoseconds and a sequence number, then the values and four bytes
        // of padding (recordSize counts them).
        static constexpr std::size_t kStatusOffset = 3;
        static constexpr std::size_t kSecondsOffset = 4;
        static constexpr std::size_t kNanosecondsOffset = 8;
        static constexpr std::size_t kValuesOffset = 16;

        const std::uint8_t* bytes_;
        std::size_t channelCount_;
    };

    // `bytes` as received, for a device running `channelCount` channels.
    // Bytes after the last whole record are not part of any record.
    RecordBlock(std::span<const std::uint8_t> bytes, std::size_t channelCount) noexcept
        : bytes_(bytes), channelCount_(channelCount) {}

    // Whole records in the block.
    std::size_t size() const noexcept { return bytes_.size() / recordSize(channelCount_); }
    // The record at `index`, below size().
    Record operator[](std::size_t index) const noexcept {
        return Record(bytes_.data() + index * recordSize(channelCount_), channelCount_);
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t channelCount_;
};

}  // namespace vexa::protocol
