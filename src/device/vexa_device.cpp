#include "device/vexa_device.h"

#include "device/configuration.h"
#include "device/device_exchange.h"
#include "device/protocol.h"
#include "net/tcp_exception.h"
#include "log/logging.h"

using namespace Nerova::NvLib::Protocols::Ethernet;
using namespace vexa::protocol;

std::shared_ptr<VexaDevice> VexaDevice::create(std::string ipAddress, std::uint32_t port,
                                               VexaChannelTable::OutputFactory* outputFactory) {
    return std::make_shared<VexaDevice>(std::move(ipAddress), port, outputFactory);
}

VexaDevice::VexaDevice(std::string ipAddress, std::uint32_t port,
                       VexaChannelTable::OutputFactory* outputFactory)
    : deviceInfo_(std::make_shared<DeviceInfo>(
          DeviceInfo{std::move(ipAddress), port, kUnknownDeviceName, false})),
      channelTable_(outputFactory) {}

VexaDevice::~VexaDevice() {
    try {
        closeConnection();
    } catch (...) {
        // The handle is released with the socket object whatever close said.
    }
}

bool VexaDevice::openConnection() {
    try {
        if (socket_ && socket_->isOpen()) socket_->close();
        const NetworkEndpoint endpoint(deviceInfo_->ipAddress, std::to_string(deviceInfo_->port));
        socket_ = TcpClient(endpoint, replyTimeout_).connect(kConnectTimeoutMs);
        if (socket_->isOpen()) readDeviceInfo();
        // An identity reply that broke the stream has closed the socket again.
        deviceInfo_->connected = socket_->isOpen();
        if (!deviceInfo_->connected) deviceInfo_->name = kUnknownDeviceName;
        return deviceInfo_->connected;
    } catch (const TcpException& error) {
        deviceInfo_->name = kUnknownDeviceName;
        deviceInfo_->connected = false;
        VEXA_LOG_ERROR(this, "VexaDevice::openConnection", 367,
                       std::string("Runtime error at the opening connection. Message: ") +
                           error.what());
        return false;
    }
}

void VexaDevice::closeConnection() {
    if (!socket_ || !socket_->isOpen()) return;
    deviceInfo_->name = kUnknownDeviceName;
    deviceInfo_->connected = false;
    socket_->close();
}

void VexaDevice::dropConnection() noexcept {
    // A transport that gave up may have closed the socket already; the
    // device is disconnected either way.
    deviceInfo_->connected = false;
    deviceInfo_->name = kUnknownDeviceName;
    try {
        if (socket_ && socket_->isOpen()) socket_->close();
    } catch (...) {
        // The handle is gone either way; the failure that brought us here
        // is the one worth reporting.
    }
}

bool VexaDevice::isConnected(const std::string& context) {
    if (socket_ && socket_->isOpen()) return true;
    VEXA_LOG_ERROR(this, "VexaDevice::isConnected", 393,
                   "Connection is not established. Additional information: " + context);
    return false;
}

std::optional<std::uint32_t> VexaDevice::queryFramed(CommandLink& link, std::string_view command, const char* name,
                                                     const char* function, int line) {
    link.send(command);
    const auto length = framedPayloadLength(link.receiveOnce(kFramedHeaderSize));
    if (length && *length <= kMaxFramedLength) return length;
    VEXA_LOG_ERROR(this, function, line, std::string("Unexpected response from the server at command ") + name + ".");
    // A length we will not read leaves the stream unusable.
    if (length) dropConnection();
    return std::nullopt;
}

void VexaDevice::readDeviceInfo() {
    if (!isConnected("reading device info")) return;
    exchange([this](CommandLink& link) {
        const auto length = queryFramed(link, kIdentify, "IDN?", "VexaDevice::readDeviceInfo", 57);
        if (!length) return;
        // The payload is gathered whole: a device that sends it in pieces
        // would otherwise leave the rest for the next command to find.
        const Bytes payload = link.receiveExactly(*length);
        link.receiveExactly(kFramedTrailerSize);
        deviceInfo_->name.assign(payload.begin(), payload.end());
    });
}

void VexaDevice::readSystemConfig() {
    if (!isConnected("reading system configuration")) return;
    channelTable_.clearLists();
    exchange([this](CommandLink& link) {
        const auto length = queryFramed(link, kConfiguration, "CFG?", "VexaDevice::readSystemConfig", 129);
        if (!length) return;
        // The trailer stays at the end of the text; the parser ignores it.
        const Bytes reply = link.gather(std::size_t{*length} + kFramedTrailerSize);
        const std::string_view text(reinterpret_cast<const char*>(reply.data()), reply.size());
        for (const ConfiguredChannel& channel : parseConfiguration(text)) {
            channelTable_.addChannel(channel.index, channel.fullName, channel.group, channel.name,
                                     channel.name, channel.unit);
        }
    });
}
