// Writes commands to a device socket and reads replies in the sizes the
// protocol asks for. Transport failures pass through as TcpException.
#pragma once

#include <string_view>

#include "device/protocol.h"
#include "net/tcp_interfaces.h"

namespace vexa::protocol {

class CommandLink {
public:
    explicit CommandLink(Nerova::NvLib::Protocols::Ethernet::ITcpSocket& socket)
        : socket_(socket) {}

    // The whole command in one write.
    void send(std::string_view command);

    // One receive asking for `size` bytes: fixed-size replies are judged by
    // how many bytes this returns.
    Bytes receiveOnce(std::size_t size);

    // Receives until exactly `size` bytes have come.
    Bytes receiveExactly(std::size_t size);

    // Receives until at least `expected` bytes have come; every receive asks
    // for the full expected size, so a device that sends more than it
    // announced has the extra bytes appended too.
    Bytes gather(std::size_t expected);

private:
    Nerova::NvLib::Protocols::Ethernet::ITcpSocket& socket_;
};

}  // namespace vexa::protocol
