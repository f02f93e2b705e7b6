// Writes commands to a device socket and reads replies in the sizes the
// protocol asks for. Transport failures pass through as TcpException.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "device/protocol.h"
#include "net/tcp_interfaces.h"

namespace vexa::protocol {

class CommandLink {
public:
    // Each receive waits at most the socket's reply time-out. A reply that
    // keeps coming, however slowly, must still end: the whole of one
    // gathered reply has `replyTimeout` plus a second per MiB (a link far
    // slower than any a device sits on) before the exchange fails as a
    // transport failure.
    explicit CommandLink(Nerova::NvLib::Protocols::Ethernet::ITcpSocket& socket,
                         std::chrono::milliseconds replyTimeout = std::chrono::milliseconds(5000))
        : socket_(socket), replyTimeout_(replyTimeout) {}

    using Deadline = std::chrono::steady_clock::time_point;
    // When a reply of `bytes` bytes, started now, must be in.
    Deadline replyDeadline(std::uint64_t bytes) const;
    // Throws TcpException once `deadline` has passed.
    void checkDeadline(Deadline deadline, std::uint64_t bytes) const;

    // The whole command in one write.
    void send(std::string_view command);

    // One receive asking for `size` bytes: fixed-size replies are judged by
    // how many bytes this returns.
    Bytes receiveOnce(std::size_t size);
    // The same into `buffer`, asking for all of it; the part that came.
    std::span<const std::uint8_t> receiveOnce(std::span<std::uint8_t> buffer);

    // Receives until exactly `size` bytes have come.
    Bytes receiveExactly(std::size_t size);

    // One receive of up to `size` bytes into `into`; how many came. A peer
    // that closed throws.
    std::size_t receiveSome(std::uint8_t* into, std::size_t size);

    // Receives until at least `expected` bytes have come, each receive
    // straight behind the last; how many came. Every receive asks for the
    // full expected size, so a device that sends more than it announced has
    // the extra bytes kept too, and `storage` must hold gatherRoom(expected).
    std::size_t gatherInto(std::uint8_t* storage, std::size_t expected);
    static constexpr std::size_t gatherRoom(std::size_t expected) noexcept {
        // The last receive starts below `expected` and may fill it again.
        return expected == 0 ? 0 : 2 * expected - 1;
    }
    // gatherInto a buffer of its own, cut to what came.
    Bytes gather(std::size_t expected);

private:
    Nerova::NvLib::Protocols::Ethernet::ITcpSocket& socket_;
    std::chrono::milliseconds replyTimeout_;
};

}  // namespace vexa::protocol
