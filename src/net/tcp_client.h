// The client callers use: every failure leaves it as a TcpException.
#pragma once

#include <chrono>
#include <memory>

#include "net/tcp_interfaces.h"

namespace Nerova::NvLib::Protocols::Ethernet {

// How long one write or receive may wait for the peer before the exchange
// counts as failed. A device answers within milliseconds; this only ends a
// peer that accepted a command and went silent.
inline constexpr std::chrono::milliseconds kReplyTimeout{5000};

class TcpClient final : public ITcpClient {
public:
    // Sockets made by `connect` bound each write and receive by `replyTimeout`.
    explicit TcpClient(const NetworkEndpoint& endpoint,
                       std::chrono::milliseconds replyTimeout = kReplyTimeout);
    ~TcpClient() override;

    void setEndpoint(const NetworkEndpoint& endpoint) override;
    NetworkEndpoint getEndpoint() const override;
    bool isEndpointValid() const override;
    std::unique_ptr<ITcpSocket> connect(std::uint64_t timeoutMs) override;
    bool isConnecting() const override;
    bool abortConnect() override;

private:
    std::unique_ptr<ITcpClient> impl_;
};

}  // namespace Nerova::NvLib::Protocols::Ethernet
