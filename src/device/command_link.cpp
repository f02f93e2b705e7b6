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
    std::size_t received = size;
    socket_.receive(reply.data(), received);
    reply.resize(received);
    return reply;
}

Bytes CommandLink::receiveExactly(std::size_t size) {
    Bytes reply(size);
    std::size_t done = 0;
    while (done < size) {
        std::size_t received = size - done;
        socket_.receive(reply.data() + done, received);
        checkProgress(received);
        done += received;
    }
    return reply;
}

Bytes CommandLink::gather(std::size_t expected) {
    Bytes reply;
    reply.reserve(expected);
    Bytes scratch(expected);
    while (reply.size() < expected) {
        std::size_t received = expected;
        socket_.receive(scratch.data(), received);
        checkProgress(received);
        reply.insert(reply.end(), scratch.begin(), scratch.begin() + static_cast<std::ptrdiff_t>(received));
    }
    return reply;
}

}  // namespace vexa::protocol
