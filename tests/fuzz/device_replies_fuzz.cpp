// A device's replies through the real exchange code: a session of connect
// and identify, channel list, start, data steps and stop against a peer
// that answers each command with the next piece of the input. Records go
// through the whole decode into the reference host's channels.
//
// Input: pieces separated by "|||". The first piece sets the peer and the
// device up: its first byte, if any, is the largest piece one receive
// hands out (0: whole replies), so replies also arrive trickled; its
// second, if not 0, bounds a block's memory to that many times 64 bytes,
// so that larger blocks are read past and reported. Each further piece
// answers one command.
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

struct Setup {
    std::size_t pieceSize = static_cast<std::size_t>(-1);
    std::uint64_t blockBound = 0;  // 0: the device's own
};

std::deque<ScriptedReply> replies(std::string_view input, Setup& setup) {
    std::deque<ScriptedReply> script;
    bool first = true;
    for (;;) {
        const std::size_t end = input.find(kSeparator);
        const std::string_view piece = input.substr(0, end);
        if (first) {
            if (piece.size() > 0 && piece[0] != 0) setup.pieceSize = static_cast<unsigned char>(piece[0]);
            if (piece.size() > 1) setup.blockBound = 64u * static_cast<unsigned char>(piece[1]);
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
    Setup setup;
    auto script = replies({reinterpret_cast<const char*>(data), size}, setup);

    vexa::host::TestHost host;
    Nerova::Utils::Ncom::OutputChannel::OutputFactoryImpl factory;
    factory.setHost(vexa::host::asInterface<HostApp>(host.app), host.pluginId,
                    static_cast<HostChannelGroup*>(host.group.get()));
    auto device = VexaDevice::create("127.0.0.1", 5963, &factory);
    auto socket = std::make_unique<ScriptedSocket>(std::move(script));
    socket->setPieceSize(setup.pieceSize);
    if (setup.blockBound != 0) device->setBlockMemoryBound(setup.blockBound);
    device->setConnector([&socket](auto&&...) -> std::unique_ptr<ITcpSocket> {
        if (!socket) std::abort();  // one connect per session
        return std::move(socket);
    });

    if (!device->openConnection()) return 0;
    tolerateTransport([&] { device->readSystemConfig(); });
    for (const auto& channel : device->channelTable().channels("allChannels")) channel->createOutput(~0u);
    device->prepareAcquisition();
    tolerateTransport([&] { device->startAcquisition(); });
    // Data steps whole, and in the three parts a list of devices uses.
    for (int step = 1; step <= kDataSteps; ++step) {
        const double hostTime = 0.1 * step;
        if (step % 2 == 1) {
            tolerateTransport([&] { device->readMeasurements(hostTime); });
        } else {
            tolerateTransport([&] { device->askReadyCount(); });
            tolerateTransport([&] { device->askBlock(); });
            tolerateTransport([&] { device->takeBlock(hostTime); });
        }
        device->takeLossReport();
    }
    tolerateTransport([&] { device->stopAcquisition(); });
    device->unbindChannels();
    return 0;
}
