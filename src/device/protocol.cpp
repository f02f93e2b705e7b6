#include "device/protocol.h"

#include <algorithm>
#include <bit>
#include <charconv>
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

ReadBlockCommand::ReadBlockCommand(std::uint32_t count) noexcept {
    constexpr std::string_view head = "RMB? ";
    char* end = std::copy(head.begin(), head.end(), text_.data());
    end = std::to_chars(end, text_.data() + text_.size(), count).ptr;
    *end++ = ';';
    *end++ = '\n';
    size_ = static_cast<std::size_t>(end - text_.data());
}

std::optional<std::uint32_t> framedPayloadLength(std::span<const std::uint8_t> header) {
    if (header.size() != kFramedHeaderSize) return std::nullopt;
    return readBigEndianUint32(header.data() + 4);
}

StatusReply judgeStatusReply(std::span<const std::uint8_t> reply) {
    if (reply.size() != kStatusReplySize) return StatusReply::Malformed;
    return reply[3] == '?' ? StatusReply::Refused : StatusReply::Accepted;
}

bool countReplyOutOfStep(std::span<const std::uint8_t> reply) {
    if (reply.size() != kCountReplySize) return false;
    const auto text = [&](std::size_t at, std::string_view expected) {
        return std::equal(expected.begin(), expected.end(), reply.begin() + static_cast<std::ptrdiff_t>(at));
    };
    return !text(0, "OMP ") || !text(8, ";\n");
}

std::uint32_t readyRecordCount(std::span<const std::uint8_t> reply) {
    return reply.size() == kCountReplySize ? readBigEndianUint32(reply.data() + 4) : 0;
}

}  // namespace vexa::protocol
