#include "device/vexa_device.h"

#include <algorithm>
#include <array>
#include <utility>

#include "device/command_link.h"
#include "device/configuration.h"
#include "device/protocol.h"
#include "device/record_block.h"
#include "log/logging.h"
#include "net/tcp_exception.h"
#include "output/output_channel.h"
#include "serialization/node.h"
#include "serialization/node_values.h"

using namespace Nerova::NvLib::Protocols::Ethernet;
using namespace vexa::protocol;
using Nerova::Utils::Serialization::Node;
using Nerova::Utils::Serialization::readNumber;
using Nerova::Utils::Serialization::readText;
using Nerova::Utils::Serialization::writeNumber;
using Nerova::Utils::Serialization::writeText;

namespace {

// Logs a status reply that is not a plain acceptance. True when the reply
// was longer than asked for: whatever followed it is still in the stream
// and would be read as the answer to the next command.
bool reportStatus(const VexaDevice* device, const Bytes& reply, const char* function, int malformedLine,
                  int refusedLine, const std::string& command) {
    switch (judgeStatusReply(reply)) {
    case StatusReply::Accepted: return false;
    case StatusReply::Refused:
        VEXA_LOG_ERROR(device, function, refusedLine, "Command " + command + " failed!\n");
        return false;
    case StatusReply::Malformed: break;
    }
    VEXA_LOG_ERROR(device, function, malformedLine,
                   "Unexpected response from the server at command " + command + ".");
    return reply.size() > kStatusReplySize;
}

}  // namespace

std::shared_ptr<VexaDevice> VexaDevice::create(std::string ipAddress, std::uint32_t port,
                                               VexaChannelTable::OutputFactory* outputFactory) {
    return std::make_shared<VexaDevice>(std::move(ipAddress), port, outputFactory);
}

VexaDevice::VexaDevice(std::string ipAddress, std::uint32_t port,
                       VexaChannelTable::OutputFactory* outputFactory)
    : deviceInfo_(std::make_shared<DeviceInfo>(
          DeviceInfo{std::move(ipAddress), port, kUnknownDeviceName, false})),
      channelTable_(outputFactory),
      connector_([](const NetworkEndpoint& endpoint, std::chrono::milliseconds replyTimeout) {
          return TcpClient(endpoint, replyTimeout).connect(kConnectTimeoutMs);
      }) {}

VexaDevice::~VexaDevice() {
    try {
        closeConnection();
    } catch (...) {
        // The handle is released with the socket object whatever close said.
    }
}

template <class Exchange>
void VexaDevice::exchange(Exchange&& body) {
    try {
        CommandLink link(*socket_, replyTimeout_);
        body(link);
    } catch (const TcpException&) {
        dropConnection();
        throw;
    }
}

bool VexaDevice::openConnection() {
    try {
        if (socket_ && socket_->isOpen()) socket_->close();
        const NetworkEndpoint endpoint(deviceInfo_->ipAddress, std::to_string(deviceInfo_->port));
        socket_ = connector_(endpoint, replyTimeout_);
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

void VexaDevice::resetTimes() {
    synchroniser_.start();
    timeOrigin_ = 0.0;
    for (const auto& [group, channels] : channelTable_.groups()) {
        for (const auto& channel : channels) channel->resetTimestamp();
    }
}

void VexaDevice::prepareAcquisition() {
    resetTimes();
}

void VexaDevice::startAcquisition() {
    if (!isConnected("start acquisition")) return;
    resetTimes();
    std::vector<std::string> names;
    for (const auto& channel : channelTable_.channels(VexaChannelTable::kAllChannels)) {
        names.push_back(channel->fullName());
    }
    exchange([&](CommandLink& link) {
        link.send(runCommand(names));
        const Bytes reply = link.receiveOnce(kRunReplyRequest);
        if (reportStatus(this, reply, "VexaDevice::startAcquisition", 312, 308, "RUN")) dropConnection();
    });
}

void VexaDevice::stopAcquisition() {
    blocks_.release();
    if (!isConnected("stop acquisition")) return;
    exchange([&](CommandLink& link) {
        // The clock fit of this acquisition is kept whatever the reply, also
        // when none comes: the next start begins from it.
        struct FinishFit {
            Nerova::Utils::Synchronization::SoftSyncAlgorithm& fit;
            ~FinishFit() { fit.finish(); }
        };
        Bytes reply;
        {
            const FinishFit finish{synchroniser_};
            link.send(kStop);
            reply = link.receiveOnce(kStopReplyRequest);
        }
        if (reportStatus(this, reply, "VexaDevice::stopAcquisition", 334, 330, "STOP")) dropConnection();
    });
}

void VexaDevice::readMeasurements(double hostTime) {
    askReadyCount();
    askBlock();
    takeBlock(hostTime);
}

void VexaDevice::askReadyCount() {
    step_ = StepPart::None;
    if (!socket_ || !socket_->isOpen()) return;
    exchange([&](CommandLink& link) { link.send(kOutputPointer); });
    step_ = StepPart::CountAsked;
}

void VexaDevice::askBlock() {
    if (std::exchange(step_, StepPart::None) != StepPart::CountAsked || !socket_ || !socket_->isOpen()) return;
    exchange([&](CommandLink& link) {
        std::array<std::uint8_t, kCountReplyRequest> countBytes{};
        const auto countReply = link.receiveOnce(countBytes);
        // An over-long reply has the start of another in it, and one that is
        // not framed as a count reply has the rest of an earlier one in front
        // of it: the stream is no longer trustworthy, so nothing more is sent
        // on it.
        if (countReply.size() > kCountReplySize || countReplyOutOfStep(countReply)) {
            VEXA_LOG_ERROR(this, "VexaDevice::readMeasurements", 262,
                           "Unexpected response from the server at command OMP?.");
            dropConnection();
            return;
        }
        // However large the backlog, the device is asked for all of it: a
        // request for less would leave it further behind at every step.
        blockCount_ = readyRecordCount(countReply);
        link.send(ReadBlockCommand(blockCount_).text());
        step_ = StepPart::BlockAsked;
    });
}

void VexaDevice::takeBlock(double hostTime) {
    if (std::exchange(step_, StepPart::None) != StepPart::BlockAsked || blockCount_ == 0) return;
    if (!socket_ || !socket_->isOpen()) return;
    exchange([&](CommandLink& link) {
        const std::size_t channelCount = channelTable_.channelCount();
        const BlockReader::Block block = blocks_.read(link, blockCount_, recordSize(channelCount));
        // The clock pair is the last record announced, even when the device
        // sent more.
        const RecordBlock::Record first(block.first, channelCount);
        const RecordBlock::Record last(block.last, channelCount);
        if (timeOrigin_ == 0.0) timeOrigin_ = first.time().inSeconds();
        synchroniser_.addPoint(hostTime, last.time().inSeconds() - timeOrigin_);
        if (block.dropped) return noteDroppedBlock(blockCount_, recordSize(channelCount));
        deliverRecords(RecordBlock(block.records, channelCount));
    });
}

namespace {

// Empties the block's copy of the channel list when the block is done, and
// keeps its storage for the next one.
class BlockChannels {
public:
    BlockChannels(VexaChannelTable::ChannelList& copy, const VexaChannelTable::ChannelList& all) : copy_(copy) {
        copy_.assign(all.begin(), all.end());
    }
    ~BlockChannels() { copy_.clear(); }
    BlockChannels(const BlockChannels&) = delete;
    BlockChannels& operator=(const BlockChannels&) = delete;

private:
    VexaChannelTable::ChannelList& copy_;
};

}  // namespace

void VexaDevice::deliverRecords(const RecordBlock& block) {
    const BlockChannels held(blockChannels_, channelTable_.allChannels());
    const std::size_t channelCount = blockChannels_.size();
    for (std::size_t r = 0; r < block.size(); ++r) {
        const RecordBlock::Record record = block[r];
        if (!record.valid()) continue;
        const double time = synchroniser_.toHostTime(record.time().inSeconds() - timeOrigin_);
        for (std::size_t k = 0; k < channelCount; ++k) {
            VexaChannel& channel = *blockChannels_[k];
            const double value = record.value(k);
            // A channel's samples never go back in time, even while the
            // clock fit is still settling.
            const double stamp = std::max(channel.latestTimestamp(), time);
            channel.setLatest(value, stamp);
            const auto& output = channel.output();
            if (output && output->isUsed()) output->addTimedSample(&value, sizeof value, stamp);
        }
    }
}

void VexaDevice::noteDroppedBlock(std::uint32_t count, std::size_t recordBytes) noexcept {
    ++droppedBlocks_;
    droppedRecords_ += count;
    droppedBytes_ += std::uint64_t{count} * recordBytes;
}

std::string VexaDevice::takeLossReport() {
    if (droppedBlocks_ == 0) return {};
    const auto mebibytes = [](std::uint64_t bytes) { return std::to_string((bytes + (1u << 19)) >> 20); };
    std::string report = "Vexa device " + deviceInfo_->ipAddress + ":" + std::to_string(deviceInfo_->port) + ": " +
                         std::to_string(droppedRecords_) + " records (" + mebibytes(droppedBytes_) + " MiB in " +
                         std::to_string(droppedBlocks_) + (droppedBlocks_ == 1 ? " block" : " blocks") +
                         ") were more than the " + mebibytes(blocks_.memoryBound() / 2) +
                         " MiB a block may hold. Their values were dropped; the device stays connected.";
    droppedBlocks_ = droppedRecords_ = droppedBytes_ = 0;
    VEXA_LOG_ERROR(this, "VexaDevice::takeLossReport", __LINE__, report);
    return report;
}

void VexaDevice::unbindChannels() {
    for (const auto& channel : channelTable_.channels(VexaChannelTable::kAllChannels)) {
        channel->releaseOutput();
    }
}

void VexaDevice::serializeSettings(Node& node) {
    if (node.isWriting()) {
        writeText(node, "IpAddress", deviceInfo_->ipAddress);
        writeNumber(node, "PortNumber", deviceInfo_->port);
        writeText(node, "DeviceName", deviceInfo_->name);
        return;
    }
    // The open connection, if any, belongs to the identity being replaced.
    closeConnection();
    auto info = std::make_shared<DeviceInfo>();
    info->ipAddress = readText(node, "IpAddress");
    info->port = readNumber<std::uint32_t>(node, "PortNumber", 0);
    info->name = readText(node, "DeviceName");
    info->connected = false;
    deviceInfo_ = std::move(info);
}
