// The TCP client and socket as the device link sees them. The order of the
// virtual operations is fixed: other modules may be built against it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "net/network_endpoint.h"

namespace Nerova::NvLib::Protocols::Ethernet {

class ITcpSocket;

class ITcpBase {
public:
    virtual ~ITcpBase() = default;
    virtual void setEndpoint(const NetworkEndpoint& endpoint) = 0;
    virtual NetworkEndpoint getEndpoint() const = 0;
    virtual bool isEndpointValid() const = 0;
};

class ITcpClient : public ITcpBase {
public:
    // Time-out in milliseconds; 0 waits until connected or aborted.
    virtual std::unique_ptr<ITcpSocket> connect(std::uint64_t timeoutMs) = 0;
    virtual bool isConnecting() const = 0;
    // May be called from any thread; true if a connect was running.
    virtual bool abortConnect() = 0;
};

// Not safe for use from two threads at once.
class ITcpSocket {
public:
    virtual ~ITcpSocket() = default;
    virtual NetworkEndpoint localEndpoint() const = 0;
    virtual NetworkEndpoint remoteEndpoint() const = 0;
    virtual bool isOpen() const = 0;
    virtual void close() = 0;
    // Sends every byte or throws.
    virtual void write(const void* data, std::size_t count) = 0;
    // One receive of at most `size` bytes; `size` is set to, and the result
    // is, the number of bytes that came, which may be fewer than asked.
    virtual std::size_t receive(void* buffer, std::size_t& size) = 0;
};

}  // namespace Nerova::NvLib::Protocols::Ethernet
