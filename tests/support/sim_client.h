// A bare protocol client for the simulator's tests: commands out, raw bytes
// back, with nothing of the plug-in's own protocol code in between.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "net/tcp_client.h"

namespace vexa::test {

using Bytes = std::vector<std::uint8_t>;

class SimClient {
public:
    explicit SimClient(std::uint16_t port,
                       std::chrono::milliseconds replyTimeout = std::chrono::milliseconds(2000),
                       const std::string& address = "127.0.0.1")
        : socket_(Nerova::NvLib::Protocols::Ethernet::TcpClient(
                      Nerova::NvLib::Protocols::Ethernet::NetworkEndpoint(
                          address, std::to_string(port)),
                      replyTimeout)
                      .connect(5000)) {}

    void send(const std::string& command) { socket_->write(command.data(), command.size()); }

    Bytes receive(std::size_t size) {
        Bytes bytes(size);
        std::size_t done = 0;
        while (done < size) {
            std::size_t piece = size - done;
            socket_->receive(bytes.data() + done, piece);
            done += piece;
        }
        return bytes;
    }

    Bytes ask(const std::string& command, std::size_t replySize) {
        send(command);
        return receive(replySize);
    }

private:
    std::unique_ptr<Nerova::NvLib::Protocols::Ethernet::ITcpSocket> socket_;
};

inline std::uint32_t bigEndian32(const Bytes& bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
           std::uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

}  // namespace vexa::test
