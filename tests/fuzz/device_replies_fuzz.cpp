// A device's replies through the real exchange code: a session of connect
// and identify, channel list, start, data steps and stop against a peer
// that answers each command with the next piece of the input. Records go
// through the whole decode into the reference host's channels.
//
// Input: pieces separated by "|||". The first piece's first byte, if any,
// is the largest piece one receive hands out (0: whole replies), so
// replies also arrive trickled; each further piece answers one command.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <memory>
#include <string_view>

#include "device/vexa_device.h"
#include "log/logging.h"
#include "net/tcp_exception.h"
#include "output/output_factory.h"
#include "support/scripted_socket.h"
#include "support/test_host.h"

namespace {

using Nerova::NvLib::Protocols::Ethernet::ITcpSocket;
using Nerova::NvLib::Protocols::Ethernet::TcpException;
using vexa::test::ScriptedReply;
using vexa::test::ScriptedSocket;

constexpr std::string_view kSeparator = "|||";
constexpr int kDataSteps = 3;

std::deque<ScriptedReply> replies(std::string_view input, std::size_t& pieceSize) {
    std::deque<ScriptedReply> script;
    bool first = true;
    for (;;) {
        const std::size_t end = input.find(kSeparator);
        const std::string_view piece = input.substr(0, end);
        if (first) {
            pieceSize = piece.empty() || piece[0] == 0 ? static_cast<std::size_t>(-1)
                                                       : static_cast<unsigned char>(piece[0]);
            first = false;
        } else {
            script.push_back({{piece.begin(), piece.end()}});
        }
        if (end == std::string_view::npos) return script;
        input.remove_prefix(end + kSeparator.size());
    }
}

// One exchange; a broken transport is an answer the caller handles.
template <class Exchange>
void tolerateTransport(Exchange&& exchange) {
    try {
        exchange();
    } catch (const TcpException&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Records are written and formatted, but go nowhere.
    initLogging("/dev/null");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::size_t pieceSize = 0;
    auto script = replies({reinterpret_cast<const char*>(data), size}, pieceSize);

    vexa::host::TestHost host;
    Nerova::Utils::Ncom::OutputChannel::OutputFactoryImpl factory;
    factory.setHost(vexa::host::asInterface<HostApp>(host.app), host.pluginId,
                    static_cast<HostChannelGroup*>(host.group.get()));
    auto device = VexaDevice::create("127.0.0.1", 5963, &factory);
    auto socket = std::make_unique<ScriptedSocket>(std::move(script));
    socket->setPieceSize(pieceSize);
    device->setConnector([&socket](auto&&...) -> std::unique_ptr<ITcpSocket> {
        if (!socket) std::abort();  // one connect per session
        return std::move(socket);
    });

    if (!device->openConnection()) return 0;
    tolerateTransport([&] { device->readSystemConfig(); });
    for (const auto& channel : device->channelTable().channels("allChannels")) channel->createOutput(~0u);
    device->prepareAcquisition();
    tolerateTransport([&] { device->startAcquisition(); });
    for (int step = 1; step <= kDataSteps; ++step) {
        tolerateTransport([&] { device->readMeasurements(0.1 * step); });
    }
    tolerateTransport([&] { device->stopAcquisition(); });
    device->unbindChannels();
    return 0;
}
