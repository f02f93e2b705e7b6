#include "device/protocol.h"

#include <bit>
#include <cstring>

namespace vexa::protocol {

std::string runCommand(const std::vector<std::string>& fullNames) {
    std::string command = "RUN ";
    for (std::size_t i = 0; i < fullNames.size(); ++i) {
        if (i > 0) command += ',';
        command += fullNames[i];
    }
    if (!fullNames.empty()) command += '\n';
    return command;
}

std::string readBlockCommand(std::uint32_t count) {
    return "RMB? " + std::to_string(count) + ";\n";
}

std::uint32_t readBigEndianUint32(const std::uint8_t* bytes) {
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
           std::uint32_t{bytes[2]} << 8 | std::uint32_t{bytes[3]};
}

std::int32_t readBigEndianInt32(const std::uint8_t* bytes) {
    return static_cast<std::int32_t>(readBigEndianUint32(bytes));
}

float readBigEndianFloat32(const std::uint8_t* bytes) {
    return std::bit_cast<float>(readBigEndianUint32(bytes));
}

std::optional<std::uint32_t> framedPayloadLength(const Bytes& header) {
    if (header.size() != kFramedHeaderSize) return std::nullopt;
    return readBigEndianUint32(header.data() + 4);
}

StatusReply judgeStatusReply(const Bytes& reply) {
    if (reply.size() != kStatusReplySize) return StatusReply::Malformed;
    return reply[3] == '?' ? StatusReply::Refused : StatusReply::Accepted;
}

std::uint32_t readyRecordCount(const Bytes& reply) {
    return reply.size() == kCountReplySize ? readBigEndianUint32(reply.data() + 4) : 0;
}

}  // namespace vexa::protocol
