// The Boost.Asio socket behind ITcpSocket. Each socket runs its own I/O
// context on the caller's thread, so connections share no state.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>

#include "net/boost_tcp_client.h"
#include "net/tcp_client.h"
#include "net/tcp_interfaces.h"

namespace Nerova::NvLib::Protocols::Ethernet {

enum class ConnectOutcome { Connected, Aborted, TimedOut, Failed };

class BoostTcpSocket final : public ITcpSocket {
public:
    explicit BoostTcpSocket(std::chrono::milliseconds replyTimeout = kReplyTimeout);
    ~BoostTcpSocket() override;
    BoostTcpSocket(const BoostTcpSocket&) = delete;
    BoostTcpSocket& operator=(const BoostTcpSocket&) = delete;

    NetworkEndpoint localEndpoint() const override;
    NetworkEndpoint remoteEndpoint() const override;
    bool isOpen() const override;
    void close() override;
    void write(const void* data, std::size_t count) override;
    std::size_t receive(void* buffer, std::size_t& size) override;

    // Used by BoostTcpClient::connect. Gives up when `connecting` turns false
    // (checked between short waits, so an abort from another thread is seen
    // promptly) or when `timeoutMs` (0: never) has passed. On success the
    // socket is open with keep-alive on.
    ConnectOutcome connectTo(const Ipv4Target& target, std::uint64_t timeoutMs,
                             const std::atomic<bool>& connecting);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// How many socket objects hold the system's sockets library (Windows Sockets
// is started by the first and released by the last).
int socketLibraryUsers();

}  // namespace Nerova::NvLib::Protocols::Ethernet
