#include "device/record_block.h"

#include "device/protocol.h"

namespace vexa::protocol {
namespace {

// Where the fields lie in a record: a three-byte tag, the status, seconds,
// nanoseconds and a sequence number, then the values and four bytes of
// padding (recordSize counts them).
constexpr std::size_t kStatusOffset = 3;
constexpr std::size_t kSecondsOffset = 4;
constexpr std::size_t kNanosecondsOffset = 8;
constexpr std::size_t kValuesOffset = 16;

}  // namespace

std::uint8_t RecordBlock::Record::status() const noexcept {
    return bytes_[kStatusOffset];
}

DeviceTime RecordBlock::Record::time() const noexcept {
    return {readBigEndianInt32(bytes_ + kSecondsOffset), readBigEndianInt32(bytes_ + kNanosecondsOffset)};
}

float RecordBlock::Record::value(std::size_t channel) const noexcept {
    return readBigEndianFloat32(bytes_ + kValuesOffset + 4 * channel);
}

std::size_t RecordBlock::size() const noexcept {
    return bytes_.size() / recordSize(channelCount_);
}

RecordBlock::Record RecordBlock::operator[](std::size_t index) const noexcept {
    return Record(bytes_.data() + index * recordSize(channelCount_), channelCount_);
}

}  // namespace vexa::protocol
