// The device's command protocol: command texts and the shapes of replies.
// Commands are ASCII lines; replies are binary with big-endian fields.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::protocol {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::string_view kIdentify = "IDN?;\n";
inline constexpr std::string_view kConfiguration = "CFG?;\n";
inline constexpr std::string_view kStop = "STOP;\n";
inline constexpr std::string_view kOutputPointer = "OMP?;\n";

// "RUN a/x,b/y\n": the channels the device is to sample, in record order.
// The line has no ';' and with no channels is just "RUN ".
std::string runCommand(const std::vector<std::string>& fullNames);
// "RMB? 5;\n": asks for the next `count` measurement records. Made on the
// stack: it is sent on every data step.
class ReadBlockCommand {
public:
    explicit ReadBlockCommand(std::uint32_t count) noexcept;
    std::string_view text() const noexcept { return {text_.data(), size_}; }

private:
    // "RMB? " + ten digits + ";\n"
    std::array<char, 17> text_{};
    std::size_t size_ = 0;
};

// Framed reply (IDN?, CFG?): header, payload, trailer. Bytes 4 to 7 of the
// header hold the payload length; the rest of header and trailer are ignored.
inline constexpr std::size_t kFramedHeaderSize = 8;
inline constexpr std::size_t kFramedTrailerSize = 2;
// A device's identity or channel list is a few kilobytes; a length beyond
// this is a corrupt stream, not something to allocate.
inline constexpr std::uint32_t kMaxFramedLength = 1u << 20;

// Status reply (RUN, STOP): byte 3 is '?' when the device refused.
inline constexpr std::size_t kStatusReplySize = 6;
// STOP is read with a larger request than its reply, so that an over-long
// answer shows as a wrong size.
inline constexpr std::size_t kStopReplyRequest = 8;
// RUN is read with a larger request than its reply for the same reason.
inline constexpr std::size_t kRunReplyRequest = kStatusReplySize + 1;
// Count reply (OMP?): bytes 4 to 7 hold the number of ready records.
inline constexpr std::size_t kCountReplySize = 10;
inline constexpr std::size_t kCountReplyRequest = kCountReplySize + 1;

// Measurement record (see RecordBlock): 20 bytes plus 4 per channel.
constexpr std::size_t recordSize(std::size_t channelCount) {
    return 20 + 4 * channelCount;
}

// Inline: every value of every record goes through them.
inline std::uint32_t readBigEndianUint32(const std::uint8_t* bytes) {
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 | std::uint32_t{bytes[2]} << 8 |
           std::uint32_t{bytes[3]};
}
inline std::int32_t readBigEndianInt32(const std::uint8_t* bytes) {
    return static_cast<std::int32_t>(readBigEndianUint32(bytes));
}
inline float readBigEndianFloat32(const std::uint8_t* bytes) {
    return std::bit_cast<float>(readBigEndianUint32(bytes));
}

// The payload length, if `header` is a whole header.
std::optional<std::uint32_t> framedPayloadLength(std::span<const std::uint8_t> header);

enum class StatusReply { Accepted, Refused, Malformed };
StatusReply judgeStatusReply(std::span<const std::uint8_t> reply);

// The number of ready records; 0 when the reply has the wrong size.
std::uint32_t readyRecordCount(std::span<const std::uint8_t> reply);
// A count reply of the full size that is not "OMP " + count + ";\n" is out
// of step with its command: the rest of an earlier reply is in front of it.
// The count in it would be garbage, and it drives the size of a transfer.
bool countReplyOutOfStep(std::span<const std::uint8_t> reply);

}  // namespace vexa::protocol
