// A reference host with an output factory and a log file, and devices that
// reach a scripted socket instead of the network.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <deque>
#include <memory>
#include <sstream>
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
using Nerova::NvLib::Protocols::Ethernet::TcpError;
using Nerova::NvLib::Protocols::Ethernet::TcpException;
using vexa::test::Bytes;
using vexa::test::Fault;
using vexa::test::ScriptedReply;
using vexa::test::ScriptedSocket;

// Replies byte for byte as a device sends them: framed (tag, big-endian
// payload length, payload, ";\n"), status, count and measurement records.
// Byte by byte: GCC 12 at -O3 takes a range insert into a vector that was
// just made for an overflow.
inline void put(Bytes& out, const std::string& text) {
    for (const char c : text) out.push_back(static_cast<std::uint8_t>(c));
}
inline void put(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}
inline Bytes framedReply(const std::string& tag, const std::string& payload) {
    Bytes out;
    put(out, tag);
    put(out, static_cast<std::uint32_t>(payload.size()));
    put(out, payload + ";\n");
    return out;
}
inline Bytes statusReply(const std::string& tag, bool refused = false) {
    Bytes out;
    put(out, tag + (refused ? "?" : "0") + ";\n");
    return out;
}
inline Bytes countReply(std::uint32_t count) {
    Bytes out;
    put(out, "OMP ");
    put(out, count);
    put(out, ";\n");
    return out;
}
// Tag, status, seconds, nanoseconds, sequence number, values, padding.
inline Bytes record(char status, std::int32_t seconds, std::uint32_t nanoseconds, const std::vector<float>& values) {
    Bytes out;
    put(out, std::string("REC") + status);
    for (std::uint32_t field : {static_cast<std::uint32_t>(seconds), nanoseconds, 7u}) put(out, field);
    for (float value : values) put(out, std::bit_cast<std::uint32_t>(value));
    put(out, 0u);
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

    // A device whose next connect, and only that, gets a socket serving
    // `script`; `socket` points at it while the device owns it.
    std::shared_ptr<VexaDevice> scriptedDevice(std::deque<ScriptedReply> script,
                                               std::size_t pieceSize = static_cast<std::size_t>(-1)) {
        auto device = VexaDevice::create("127.0.0.1", 5963, &factory);
        auto slot = std::make_shared<std::unique_ptr<ScriptedSocket>>(
            std::make_unique<ScriptedSocket>(std::move(script)));
        socket = slot->get();
        socket->setPieceSize(pieceSize);
        device->setConnector([slot](auto&&...) -> std::unique_ptr<Nerova::NvLib::Protocols::Ethernet::ITcpSocket> {
            if (!*slot) throw Nerova::NvLib::Protocols::Ethernet::TcpException(TcpError::ConnectTimeout);
            return std::move(*slot);
        });
        return device;
    }

    // The records the log gained since the last call, each without its
    // time, level and thread: "[VexaDevice::readDeviceInfo@57] text\n".
    std::string newLog() {
        const std::string all = log_.exists() ? log_.contents() : std::string();
        std::istringstream added(all.substr(std::min(seen_, all.size())));
        seen_ = all.size();
        std::string line, records;
        while (std::getline(added, line)) {
            if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
            const std::size_t thread = line.find("] [");
            if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0])) && thread != std::string::npos) {
                line.erase(0, thread + 2);
            }
            records += line + '\n';
        }
        return records;
    }

    ScriptedSocket* socket = nullptr;
    vexa::host::TestHost host;
    OutputFactoryImpl factory;
    vexa::test::TempFile log_{"VexaLog.txt"};

private:
    std::size_t seen_ = 0;
};

}  // namespace device_test
