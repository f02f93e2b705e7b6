// A reference host with an output factory and a log file, and devices that
// reach a scripted socket instead of the network.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <deque>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "device/vexa_device.h"
#include "log/logging.h"
#include "log/logging_internal.h"
#include "net/tcp_exception.h"
#include "output/output_channel.h"
#include "output/output_factory.h"
#include "support/scripted_socket.h"
#include "support/temp_file.h"
#include "support/test_host.h"

namespace device_test {

using Nerova::Utils::Ncom::OutputChannel::OutputFactoryImpl;
using vexa::host::ChannelObject;
using vexa::test::Bytes;
using vexa::test::Fault;
using vexa::test::ScriptedReply;
using vexa::test::ScriptedSocket;

// Reply builders, byte for byte as a device sends them.
inline void putText(Bytes& out, const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }
inline void putBig32(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}
// Tag, big-endian payload length, payload, ";\n".
inline Bytes framedReply(const std::string& tag, const std::string& payload) {
    Bytes out;
    putText(out, tag);
    putBig32(out, static_cast<std::uint32_t>(payload.size()));
    putText(out, payload + ";\n");
    return out;
}
inline Bytes statusReply(const std::string& tag, bool refused = false) {
    Bytes out;
    putText(out, tag + (refused ? "?" : "0") + ";\n");
    return out;
}
inline Bytes countReply(std::uint32_t count) {
    Bytes out;
    putText(out, "OMP ");
    putBig32(out, count);
    putText(out, ";\n");
    return out;
}
// One record: tag, status, seconds, nanoseconds, sequence, values, padding.
inline Bytes record(char status, std::int32_t seconds, std::uint32_t nanoseconds, const std::vector<float>& values) {
    Bytes out;
    putText(out, std::string("REC") + status);
    putBig32(out, static_cast<std::uint32_t>(seconds));
    putBig32(out, nanoseconds);
    putBig32(out, 7);
    for (float value : values) putBig32(out, std::bit_cast<std::uint32_t>(value));
    putBig32(out, 0);
    return out;
}

class DeviceTest : public ::testing::Test {
protected:
    DeviceTest() {
        resetLoggingForTests();
        initLogging(log_.path());
        factory.setHost(vexa::host::asInterface<HostApp>(host.app), host.pluginId,
                        static_cast<HostChannelGroup*>(host.group.get()));
    }
    ~DeviceTest() override { resetLoggingForTests(); }

    // A device whose next connect reaches `script`; `socket` points at the
    // socket it is handed, which the device owns.
    std::shared_ptr<VexaDevice> scriptedDevice(std::deque<ScriptedReply> script, ScriptedSocket*& socket,
                                               std::size_t pieceSize = static_cast<std::size_t>(-1)) {
        auto device = VexaDevice::create("127.0.0.1", 5963, &factory);
        auto owned = std::make_unique<ScriptedSocket>(std::move(script));
        owned->setPieceSize(pieceSize);
        socket = owned.get();
        // Handed out once; a second connect finds nobody listening.
        auto slot = std::make_shared<std::unique_ptr<ScriptedSocket>>(std::move(owned));
        device->setConnector([slot](auto&&...) -> std::unique_ptr<Nerova::NvLib::Protocols::Ethernet::ITcpSocket> {
            using Nerova::NvLib::Protocols::Ethernet::TcpError;
            if (!*slot) throw Nerova::NvLib::Protocols::Ethernet::TcpException(TcpError::ConnectTimeout);
            return std::move(*slot);
        });
        return device;
    }

    ChannelObject& hostOf(const VexaChannel& channel) {
        ChannelObject* found = host.group->findById(static_cast<LONG>(channel.output()->getKey()));
        if (found == nullptr) throw std::logic_error("no host channel");
        return *found;
    }

    // The records the log gained since the last call, each without its
    // time, level and thread: "[VexaDevice::readDeviceInfo@57] text\n".
    std::string newLog() {
        const std::string all = log_.exists() ? log_.contents() : std::string();
        std::string added = all.substr(std::min(seen_, all.size()));
        seen_ = all.size();
        if (added.rfind("\xEF\xBB\xBF", 0) == 0) added.erase(0, 3);
        std::string records;
        for (std::size_t at = 0; at < added.size();) {
            const std::size_t end = std::min(added.find('\n', at), added.size() - 1) + 1;
            std::string line = added.substr(at, end - at);
            const std::size_t thread = line.find("] [");
            if (std::isdigit(static_cast<unsigned char>(line[0])) && thread != std::string::npos) {
                line.erase(0, thread + 2);
            }
            records += line;
            at = end;
        }
        return records;
    }

    vexa::host::TestHost host;
    OutputFactoryImpl factory;
    vexa::test::TempFile log_{"VexaLog.txt"};

private:
    std::size_t seen_ = 0;
};

}  // namespace device_test
