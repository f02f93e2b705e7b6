// One remote measuring device reached over TCP. All operations block the
// calling thread; the callers keep one exchange per device at a time.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/block_reader.h"
#include "device/channel_table.h"
#include "device/device_info.h"
#include "net/tcp_client.h"
#include "net/tcp_interfaces.h"
#include "sync/soft_sync.h"

namespace Nerova::Utils::Serialization {
class Node;
}

namespace vexa::protocol {
class CommandLink;
class RecordBlock;
}

class VexaDevice {
public:
    static constexpr std::uint64_t kConnectTimeoutMs = 6000;

    // Opens the transport to `endpoint`, bounding each write and receive by
    // `replyTimeout`; throws TcpException. The default is a TCP client.
    using Connector = std::function<std::unique_ptr<Nerova::NvLib::Protocols::Ethernet::ITcpSocket>(
        const Nerova::NvLib::Protocols::Ethernet::NetworkEndpoint& endpoint, std::chrono::milliseconds replyTimeout)>;

    // Devices are shared between the device list and the windows.
    static std::shared_ptr<VexaDevice> create(std::string ipAddress, std::uint32_t port,
                                              VexaChannelTable::OutputFactory* outputFactory);

    VexaDevice(std::string ipAddress, std::uint32_t port,
               VexaChannelTable::OutputFactory* outputFactory);
    ~VexaDevice();
    VexaDevice(const VexaDevice&) = delete;
    VexaDevice& operator=(const VexaDevice&) = delete;

    // Connects and identifies the device. Connection failures are logged and
    // answered with false, never thrown.
    bool openConnection();
    void closeConnection();
    // False, with a log record naming `context`, when there is no open socket.
    bool isConnected(const std::string& context);

    // IDN?: the device's name into deviceInfo().name.
    void readDeviceInfo();
    // CFG?: the channel lists again, from the device's current list.
    void readSystemConfig();

    // Forgets the time origin and the channels' last time stamps and
    // restarts the clock fit, without a word to the device.
    void prepareAcquisition();
    // RUN with every channel; the device counts as running whatever it said.
    void startAcquisition();
    // OMP? and RMB?: every valid record's values to the channels and their
    // output channels, at `hostTime` of the host's acquisition clock. A
    // block above the memory bound sets the clock but hands nothing on; see
    // takeLossReport.
    void readMeasurements(double hostTime);
    // readMeasurements in its three parts, so that a list of devices can
    // have them all at work at once rather than wait for each in turn: OMP?
    // sent; the count read and RMB? sent; the block read and handed on. A
    // part does nothing unless the part before it ran (and left the device
    // connected) since.
    void askReadyCount();
    void askBlock();
    void takeBlock(double hostTime);
    // STOP; the clock fit keeps its ratio for the next start. The block
    // storage is given back.
    void stopAcquisition();
    // What the host should hear about blocks dropped since the last call,
    // or nothing: one text for all of them.
    std::string takeLossReport();
    // Every channel gives its output channel back to the factory.
    void unbindChannels();

    // Address, port and name into or out of a "VexaDeviceSettings" node, as
    // the node's direction says. Reading gives the device a new identity,
    // not connected; connecting is the caller's choice.
    void serializeSettings(Nerova::Utils::Serialization::Node& node);

    // Seconds of device time of the first record since the start; 0 until
    // the first block came.
    double timeOrigin() const noexcept { return timeOrigin_; }
    const Nerova::Utils::Synchronization::SoftSyncAlgorithm& synchroniser() const noexcept {
        return synchroniser_;
    }

    const std::shared_ptr<DeviceInfo>& deviceInfo() const { return deviceInfo_; }
    VexaChannelTable& channelTable() { return channelTable_; }
    const VexaChannelTable& channelTable() const { return channelTable_; }

    // How long one write or receive may wait; applies from the next connect.
    void setReplyTimeout(std::chrono::milliseconds timeout) { replyTimeout_ = timeout; }
    // The most memory one block may take (BlockReader::kMemoryBound unless
    // a test needs a smaller one), and what the device holds now.
    void setBlockMemoryBound(std::uint64_t bytes) noexcept { blocks_.setMemoryBound(bytes); }
    std::size_t blockStorage() const noexcept { return blocks_.capacity(); }
    // How the next connects reach the device.
    void setConnector(Connector connector) { connector_ = std::move(connector); }

private:
    // Runs one command exchange. A transport failure in the middle leaves
    // unread bytes or a late reply in the stream, which the next command
    // would take for its answer: the connection is closed before the
    // exception goes on.
    template <class Exchange>
    void exchange(Exchange&& body);
    void resetTimes();
    // Hands the values of every valid record of `block` on.
    void deliverRecords(const vexa::protocol::RecordBlock& block);
    void noteDroppedBlock(std::uint32_t count, std::size_t recordBytes) noexcept;
    // Closes the connection, if still open, and marks the device disconnected.
    void dropConnection() noexcept;
    // Sends a framed query (`name` is how the log calls it) and reads the
    // header. Nothing for a malformed header or a length above the cap; both
    // are logged as `function` at `line`, and a refused length, which leaves
    // the stream unusable, also drops the connection.
    std::optional<std::uint32_t> queryFramed(vexa::protocol::CommandLink& link, std::string_view command,
                                             const char* name, const char* function, int line);

    Nerova::Utils::Synchronization::SoftSyncAlgorithm synchroniser_;
    double timeOrigin_ = 0.0;
    std::shared_ptr<DeviceInfo> deviceInfo_;
    VexaChannelTable channelTable_;
    std::unique_ptr<Nerova::NvLib::Protocols::Ethernet::ITcpSocket> socket_;
    std::chrono::milliseconds replyTimeout_ = Nerova::NvLib::Protocols::Ethernet::kReplyTimeout;
    Connector connector_;

    // Kept from one data step to the next, so that a step allocates nothing:
    // the block's bytes, and the block's copy of the channel list, which
    // holds the channels only while the block is handed on.
    vexa::protocol::BlockReader blocks_;
    VexaChannelTable::ChannelList blockChannels_;
    // Where the data step stands, and the count the device announced.
    enum class StepPart { None, CountAsked, BlockAsked };
    StepPart step_ = StepPart::None;
    std::uint32_t blockCount_ = 0;
    // Dropped since the last loss report.
    std::uint64_t droppedBlocks_ = 0;
    std::uint64_t droppedRecords_ = 0;
    std::uint64_t droppedBytes_ = 0;
};
