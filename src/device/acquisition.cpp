// The device's part in an acquisition: RUN, the measurement blocks and STOP.
#include <algorithm>

#include "device/device_exchange.h"
#include "device/protocol.h"
#include "output/output_channel.h"
#include "log/logging.h"

using namespace vexa::protocol;

namespace {

double deviceTimeOf(const std::uint8_t* record) {
    return static_cast<double>(readInt32(record + kRecordSecondsOffset)) +
           static_cast<double>(readInt32(record + kRecordNanosecondsOffset)) / 1e9;
}

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
    if (!isConnected("stop acquisition")) return;
    exchange([&](CommandLink& link) {
        link.send(kStop);
        const Bytes reply = link.receiveOnce(kStopReplyRequest);
        synchroniser_.finish();
        if (reportStatus(this, reply, "VexaDevice::stopAcquisition", 334, 330, "STOP")) dropConnection();
    });
}

void VexaDevice::readMeasurements(double hostTime) {
    if (!socket_ || !socket_->isOpen()) return;
    exchange([&](CommandLink& link) {
        link.send(kOutputPointer);
        const Bytes countReply = link.receiveOnce(kCountReplyRequest);
        const std::uint32_t count = readyRecordCount(countReply);
        const std::size_t recordBytes = recordSize(channelTable_.channelCount());
        const std::uint64_t total = std::uint64_t{count} * recordBytes;
        // Neither an over-long reply nor an absurd count can be answered:
        // the stream is no longer trustworthy, so nothing more is sent on it.
        if (countReply.size() > kCountReplySize || total > kMaxBlockBytes) {
            VEXA_LOG_ERROR(this, "VexaDevice::readMeasurements", 262,
                           "Unexpected response from the server at command OMP?.");
            dropConnection();
            return;
        }
        link.send(readBlockCommand(count));
        if (total == 0) return;
        const Bytes block = link.gather(static_cast<std::size_t>(total));
        if (timeOrigin_ == 0.0) timeOrigin_ = deviceTimeOf(block.data());
        const std::size_t last = (std::size_t{count} - 1) * recordBytes;
        synchroniser_.addPoint(hostTime, deviceTimeOf(block.data() + last) - timeOrigin_);
        deliverRecords(block, recordBytes);
    });
}

void VexaDevice::deliverRecords(const Bytes& block, std::size_t recordBytes) {
    const VexaChannelTable::ChannelList channels = channelTable_.channels(VexaChannelTable::kAllChannels);
    const std::size_t records = block.size() / recordBytes;
    for (std::size_t r = 0; r < records; ++r) {
        const std::uint8_t* record = block.data() + r * recordBytes;
        if (record[kRecordStatusOffset] != '0') continue;
        const double time = synchroniser_.toHostTime(deviceTimeOf(record) - timeOrigin_);
        for (std::size_t k = 0; k < channels.size(); ++k) {
            VexaChannel& channel = *channels[k];
            const double value = readFloat32(record + kRecordValuesOffset + 4 * k);
            // A channel's samples never go back in time, even while the
            // clock fit is still settling.
            const double stamp = std::max(channel.latestTimestamp(), time);
            channel.setLatest(value, stamp);
            const auto& output = channel.output();
            if (output && output->isUsed()) output->addTimedSample(&value, sizeof value, stamp);
        }
    }
}

void VexaDevice::unbindChannels() {
    for (const auto& channel : channelTable_.channels(VexaChannelTable::kAllChannels)) {
        channel->releaseOutput();
    }
}
