#include "device/command_link.h"

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

Bytes CommandLink::receiveExactly(std::size_t size) {
    Bytes reply(size);
    std::size_t done = 0;
    while (done < size) done += receiveSome(reply.data() + done, size - done);
    return reply;
}

std::size_t CommandLink::receiveSome(std::uint8_t* into, std::size_t size) {
    std::size_t received = size;
    socket_.receive(into, received);
    checkProgress(received);
    return received;
}

std::size_t CommandLink::gatherInto(std::uint8_t* storage, std::size_t expected) {
    std::size_t done = 0;
    while (done < expected) done += receiveSome(storage + done, expected);
    return done;
}

Bytes CommandLink::gather(std::size_t expected) {
    Bytes reply(gatherRoom(expected));
    reply.resize(gatherInto(reply.data(), expected));
    return reply;
}

}  // namespace vexa::protocol
