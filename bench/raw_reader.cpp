#include "raw_reader.h"

#include <chrono>
#include <memory>
#include <stdexcept>

#include "net/tcp_client.h"

namespace vexa::bench {

namespace {

using Nerova::NvLib::Protocols::Ethernet::ITcpSocket;
using Nerova::NvLib::Protocols::Ethernet::NetworkEndpoint;
using Nerova::NvLib::Protocols::Ethernet::TcpClient;

void send(ITcpSocket& socket, const std::string& text) {
    socket.write(text.data(), text.size());
}

void receive(ITcpSocket& socket, std::uint8_t* into, std::size_t size) {
    for (std::size_t done = 0; done < size;) {
        std::size_t piece = size - done;
        socket.receive(into + done, piece);
        if (piece == 0) throw std::runtime_error("a device closed its stream");
        done += piece;
    }
}

}  // namespace

RawRate readRaw(const std::vector<std::uint16_t>& ports, const std::vector<std::string>& channels, double seconds) {
    std::string run = "RUN ";
    for (std::size_t k = 0; k < channels.size(); ++k) run += (k > 0 ? "," : "") + channels[k];
    run += "\n";
    std::vector<std::unique_ptr<ITcpSocket>> sockets;
    std::uint8_t reply[16];
    for (const std::uint16_t port : ports) {
        sockets.push_back(TcpClient(NetworkEndpoint("127.0.0.1", std::to_string(port))).connect(5000));
        send(*sockets.back(), run);
        receive(*sockets.back(), reply, 6);
        if (reply[3] != '0') throw std::runtime_error("a device refused RUN " + run);
    }

    const std::size_t recordBytes = 20 + 4 * channels.size();
    std::vector<std::uint8_t> block;
    RawRate rate;
    const auto start = std::chrono::steady_clock::now();
    while (rate.seconds < seconds) {
        for (const auto& socket : sockets) {
            send(*socket, "OMP?;\n");
            receive(*socket, reply, 10);
            const std::uint32_t count = std::uint32_t{reply[4]} << 24 | std::uint32_t{reply[5]} << 16 |
                                        std::uint32_t{reply[6]} << 8 | reply[7];
            send(*socket, "RMB? " + std::to_string(count) + ";\n");
            if (block.size() < count * recordBytes) block.resize(count * recordBytes);
            receive(*socket, block.data(), count * recordBytes);
            rate.values += std::uint64_t{count} * channels.size();
        }
        rate.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    for (const auto& socket : sockets) {
        send(*socket, "STOP;\n");
        receive(*socket, reply, 6);
    }
    return rate;
}

}  // namespace vexa::bench
