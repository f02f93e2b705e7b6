// The Boost.Asio implementation behind TcpClient.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

#include "net/tcp_interfaces.h"

namespace Nerova::NvLib::Protocols::Ethernet {

// A numeric IPv4 target, kept apart from Asio's endpoint type so that this
// header stays light.
struct Ipv4Target {
    std::uint32_t address = 0;  // host byte order
    std::uint16_t port = 0;
};

class BoostTcpClient final : public ITcpClient {
public:
    // An invalid endpoint does not throw here; it shows in isEndpointValid.
    BoostTcpClient(const NetworkEndpoint& endpoint, std::chrono::milliseconds replyTimeout);

    void setEndpoint(const NetworkEndpoint& endpoint) override;
    NetworkEndpoint getEndpoint() const override;
    bool isEndpointValid() const override;
    // Ends at the first definite failure (refused, unreachable) with code
    // Unknown; only an unanswered attempt runs into the deadline.
    std::unique_ptr<ITcpSocket> connect(std::uint64_t timeoutMs) override;
    bool isConnecting() const override;
    bool abortConnect() override;

private:
    NetworkEndpoint endpoint_;
    Ipv4Target target_;
    bool endpointValid_ = false;
    std::atomic<bool> connecting_{false};
    std::chrono::milliseconds replyTimeout_;
};

}  // namespace Nerova::NvLib::Protocols::Ethernet
