#include "device/command_link.h"

#include <string>

#include "net/tcp_exception.h"

namespace vexa::protocol {
namespace {

// A socket reports a closed peer as an error; an empty receive that does
// not would otherwise spin the loops below.
void checkProgress(std::size_t received) {
    using namespace Nerova::NvLib::Protocols::Ethernet;
    if (received == 0) throw TcpException(TcpError::RemoteClosed);
}

}  // namespace

void CommandLink::send(std::string_view command) {
    socket_.write(command.data(), command.size());
}

Bytes CommandLink::receiveOnce(std::size_t size) {
    Bytes reply(size);
    reply.resize(receiveOnce(std::span<std::uint8_t>(reply)).size());
    return reply;
}

std::span<const std::uint8_t> CommandLink::receiveOnce(std::span<std::uint8_t> buffer) {
    std::size_t received = buffer.size();
    socket_.receive(buffer.data(), received);
    return buffer.first(received);
}

CommandLink::Deadline CommandLink::replyDeadline(std::uint64_t bytes) const {
    constexpr std::uint64_t kSlowestBytesPerSecond = 1 << 20;
    const auto transfer = std::chrono::milliseconds(bytes * 1000 / kSlowestBytesPerSecond);
    return std::chrono::steady_clock::now() + replyTimeout_ + transfer;
}

void CommandLink::checkDeadline(Deadline deadline, std::uint64_t bytes) const {
    using namespace Nerova::NvLib::Protocols::Ethernet;
    if (std::chrono::steady_clock::now() <= deadline) return;
    throw TcpException(TcpError::Unknown, "Unknown error: a reply of " + std::to_string(bytes) +
                                              " bytes did not arrive in time");
}

Bytes CommandLink::receiveExactly(std::size_t size) {
    Bytes reply(size);
    const Deadline deadline = replyDeadline(size);
    for (std::size_t done = 0; done < size;) {
        done += receiveSome(reply.data() + done, size - done);
        if (done < size) checkDeadline(deadline, size);
    }
    return reply;
}

std::size_t CommandLink::receiveSome(std::uint8_t* into, std::size_t size) {
    std::size_t received = size;
    socket_.receive(into, received);
    checkProgress(received);
    return received;
}

std::size_t CommandLink::gatherInto(std::uint8_t* storage, std::size_t expected) {
    const Deadline deadline = replyDeadline(expected);
    std::size_t done = 0;
    while (done < expected) {
        done += receiveSome(storage + done, expected);
        if (done < expected) checkDeadline(deadline, expected);
    }
    return done;
}

Bytes CommandLink::gather(std::size_t expected) {
    Bytes reply(gatherRoom(expected));
    reply.resize(gatherInto(reply.data(), expected));
    return reply;
}

}  // namespace vexa::protocol
