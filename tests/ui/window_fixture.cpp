#include "window_fixture.h"

#include <cstdint>

#include "net/tcp_exception.h"
#include "support/scripted_socket.h"

namespace window_test {

namespace {

using Nerova::NvLib::Protocols::Ethernet::ITcpSocket;
using Nerova::NvLib::Protocols::Ethernet::NetworkEndpoint;
using Nerova::NvLib::Protocols::Ethernet::TcpError;
using Nerova::NvLib::Protocols::Ethernet::TcpException;

// The identity reply: tag, big-endian payload length, payload, ";\n".
vexa::test::Bytes identityReply(const std::string& name) {
    vexa::test::Bytes bytes{'I', 'D', 'N', '?'};
    const auto length = static_cast<std::uint32_t>(name.size());
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(length >> shift));
    const std::string tail = name + ";\n";
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

}  // namespace

Nerova::Kite::WindowPtr windowPtrOf(kite::Window& window) {
    return Nerova::Kite::WindowPtr(static_cast<Nerova::Kite::IWindow*>(&window));
}

std::vector<std::string> columnsOf(const kite::DrawGrid& grid) {
    std::vector<std::string> columns;
    for (const kite::DrawGridColumn* column : grid.shownColumns()) {
        columns.push_back(std::to_string(column->index) + " " + column->key + " " + column->title + " " +
                          kite::kindName(column->kind) + " " + std::to_string(column->width) +
                          (column->resizable ? "" : " fixed"));
    }
    return columns;
}

void WindowTest::makeReachable(VexaDevice& device, const std::string& name) {
    device.setConnector([record = connects, name](const NetworkEndpoint& endpoint, auto) {
        record->push_back(endpoint.ip() + ":" + endpoint.port());
        std::unique_ptr<ITcpSocket> socket = std::make_unique<vexa::test::ScriptedSocket>(
            std::deque<vexa::test::ScriptedReply>{{identityReply(name)}});
        return socket;
    });
}

void WindowTest::makeUnreachable(VexaDevice& device) {
    device.setConnector([record = connects](const NetworkEndpoint& endpoint, auto) -> std::unique_ptr<ITcpSocket> {
        record->push_back(endpoint.ip() + ":" + endpoint.port());
        throw TcpException(TcpError::Unknown, "Connection refused");
    });
}

}  // namespace window_test
