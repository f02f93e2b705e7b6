#include "net/boost_tcp_client.h"

#include <system_error>

#include "net/boost_tcp_socket.h"
#include "net/tcp_exception.h"

namespace Nerova::NvLib::Protocols::Ethernet {

BoostTcpClient::BoostTcpClient(const NetworkEndpoint& endpoint,
                               std::chrono::milliseconds replyTimeout)
    : endpoint_(endpoint), replyTimeout_(replyTimeout) {
    try {
        setEndpoint(endpoint);
    } catch (const TcpException&) {
        // Kept as given: isEndpointValid says it is unusable.
    }
}

void BoostTcpClient::setEndpoint(const NetworkEndpoint& endpoint) {
    endpoint_ = endpoint;
    if (!isValidIpAddress(endpoint.ip()) || !isValidPort(endpoint.port())) {
        endpointValid_ = false;
        connecting_ = false;
        throw TcpException(TcpError::InvalidEndpoint);
    }
    const auto address = parseIpv4(endpoint.ip());
    if (!address) {
        throw std::system_error(std::make_error_code(std::errc::invalid_argument),
                                "IPv4 address conversion");
    }
    target_ = Ipv4Target{*address, *parsePort(endpoint.port())};
    endpointValid_ = true;
    connecting_ = false;
}

NetworkEndpoint BoostTcpClient::getEndpoint() const {
    return endpoint_;
}

bool BoostTcpClient::isEndpointValid() const {
    return isValidIpAddress(endpoint_.ip()) && isValidPort(endpoint_.port()) && endpointValid_;
}

std::unique_ptr<ITcpSocket> BoostTcpClient::connect(std::uint64_t timeoutMs) {
    auto socket = std::make_unique<BoostTcpSocket>(replyTimeout_);
    connecting_.exchange(true);
    // An endpoint that failed validation still has a target: 0.0.0.0 port 0,
    // or the last valid one. Trying it fails like any unreachable peer.
    const ConnectOutcome outcome = socket->connectTo(target_, timeoutMs, connecting_);
    connecting_ = false;
    switch (outcome) {
    case ConnectOutcome::Connected:
        return socket;
    case ConnectOutcome::Aborted:
        throw TcpException(TcpError::ConnectAborted);
    case ConnectOutcome::TimedOut:
        throw TcpException(TcpError::ConnectTimeout);
    case ConnectOutcome::Failed:
        break;
    }
    throw TcpException(TcpError::Unknown);
}

bool BoostTcpClient::isConnecting() const {
    return connecting_.load();
}

bool BoostTcpClient::abortConnect() {
    return connecting_.exchange(false);
}

}  // namespace Nerova::NvLib::Protocols::Ethernet
