// A device socket that answers each written command with a scripted reply,
// and can break that reply at any byte: cut it with an orderly close or a
// time-out, flip one byte, or fail with a transport error. Nothing waits:
// a time-out is reported the moment the script runs dry.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "net/tcp_interfaces.h"

namespace vexa::test {

using Bytes = std::vector<std::uint8_t>;

enum class Fault {
    None,
    Close,    // the peer closes in order before byte `at`
    Timeout,  // the peer goes silent before byte `at`
    Fail,     // the transport breaks before byte `at`
    Corrupt,  // byte `at` arrives with every bit flipped
};

struct ScriptedReply {
    Bytes bytes;
    Fault fault = Fault::None;
    std::size_t at = 0;
};

// What the transport reports for each fault, as the TCP socket words it.
inline constexpr char kClosedMessage[] = "Connection terminated by remote socket";
inline constexpr char kFailedMessage[] = "Unknown error: Network is unreachable";
std::string timedOutMessage(std::chrono::milliseconds replyTimeout);

class ScriptedSocket final : public Nerova::NvLib::Protocols::Ethernet::ITcpSocket {
public:
    // One reply per write, in order. Bytes a command leaves unread stay in
    // the stream for the next receive, as on a real connection; a write
    // beyond the script is answered by silence.
    explicit ScriptedSocket(std::deque<ScriptedReply> script,
                            std::chrono::milliseconds replyTimeout = std::chrono::milliseconds(300));

    // Largest piece one receive hands out, to model a device that trickles.
    void setPieceSize(std::size_t bytes) { piece_ = bytes; }
    // Every command written so far, whole.
    const std::vector<std::string>& sent() const { return sent_; }

    using Endpoint = Nerova::NvLib::Protocols::Ethernet::NetworkEndpoint;
    Endpoint localEndpoint() const override { return {"127.0.0.1", "50000"}; }
    Endpoint remoteEndpoint() const override { return {"127.0.0.1", "5963"}; }
    bool isOpen() const override { return open_; }
    void close() override { open_ = false; }
    void write(const void* data, std::size_t count) override;
    std::size_t receive(void* buffer, std::size_t& size) override;

private:
    std::deque<ScriptedReply> script_;
    std::chrono::milliseconds replyTimeout_;
    std::vector<std::string> sent_;
    Bytes stream_;
    std::size_t read_ = 0;
    // What happens once `stream_` is read to its end.
    Fault endOfStream_ = Fault::Timeout;
    std::size_t piece_ = static_cast<std::size_t>(-1);
    bool open_ = true;
};

}  // namespace vexa::test
