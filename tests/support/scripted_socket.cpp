#include "support/scripted_socket.h"

#include <algorithm>
#include <cstring>

#include "net/tcp_exception.h"

namespace vexa::test {

using Nerova::NvLib::Protocols::Ethernet::TcpError;
using Nerova::NvLib::Protocols::Ethernet::TcpException;

std::string timedOutMessage(std::chrono::milliseconds replyTimeout) {
    return "Unknown error: the receive timed out after " + std::to_string(replyTimeout.count()) + " ms";
}

ScriptedSocket::ScriptedSocket(std::deque<ScriptedReply> script, std::chrono::milliseconds replyTimeout)
    : script_(std::move(script)), replyTimeout_(replyTimeout) {}

void ScriptedSocket::write(const void* data, std::size_t count) {
    if (!open_) throw TcpException(TcpError::LocalClosed);
    sent_.emplace_back(static_cast<const char*>(data), count);
    if (script_.empty()) return;
    ScriptedReply reply = std::move(script_.front());
    script_.pop_front();
    // Bytes behind a cut never come; a whole reply ends in silence, like a
    // device that has said all it will.
    if (reply.fault == Fault::Corrupt && reply.at < reply.bytes.size()) reply.bytes[reply.at] ^= 0xFF;
    const bool cut = reply.fault != Fault::None && reply.fault != Fault::Corrupt;
    if (cut && reply.at < reply.bytes.size()) reply.bytes.resize(reply.at);
    stream_.insert(stream_.end(), reply.bytes.begin(), reply.bytes.end());
    endOfStream_ = cut ? reply.fault : Fault::Timeout;
}

std::size_t ScriptedSocket::receive(void* buffer, std::size_t& size) {
    if (!open_) throw TcpException(TcpError::LocalClosed);
    if (size == 0) return 0;
    if (read_ == stream_.size()) {
        switch (endOfStream_) {
        case Fault::Close: throw TcpException(TcpError::RemoteClosed);
        case Fault::Fail: throw TcpException(TcpError::Unknown, kFailedMessage);
        default:
            // The TCP socket closes itself when a receive times out.
            open_ = false;
            throw TcpException(TcpError::Unknown, timedOutMessage(replyTimeout_));
        }
    }
    size = std::min({size, stream_.size() - read_, piece_});
    std::memcpy(buffer, stream_.data() + read_, size);
    read_ += size;
    return size;
}

}  // namespace vexa::test
