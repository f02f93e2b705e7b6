// A device's channel list and measurements against the simulator, through
// to the reference host's channel buffers.
#include "support/acquisition_fixture.h"

#include "support/allocation_watch.h"
#include "device/protocol.h"
#include "net/tcp_exception.h"

namespace acquisition_test {
namespace {

using Nerova::NvLib::Protocols::Ethernet::TcpException;

std::vector<std::string> fullNames(const VexaDevice& device, const std::string& group) {
    std::vector<std::string> names;
    for (const auto& channel : device.channelTable().channels(group)) names.push_back(channel->fullName());
    return names;
}

using Acquisition = AcquisitionTest;

TEST_F(Acquisition, ChannelListIsReadIntoGroupsAndReplacedOnTheNextRead) {
    auto sim = simulate(simConfig());
    auto device = deviceFor(*sim);
    EXPECT_EQ(fullNames(*device, "allChannels"),
              (std::vector<std::string>{"Engine/Speed", "Engine/Torque", "Ambient.Temperature"}));
    EXPECT_EQ(fullNames(*device, "Engine"), (std::vector<std::string>{"Engine/Speed", "Engine/Torque"}));
    const auto ambient = device->channelTable().channels("Ambient");
    ASSERT_EQ(ambient.size(), 1u);
    EXPECT_EQ(ambient[0]->deviceName(), "Temperature");
    EXPECT_EQ(ambient[0]->hostName(), "Temperature");
    EXPECT_EQ(ambient[0]->unit(), "degC");
    EXPECT_EQ(ambient[0]->index(), 3u);

    SimConfig smaller = simConfig();
    smaller.channels = {{"Torque", "Nm"}};
    auto other = simulate(smaller);
    device->deviceInfo()->port = other->port();
    ASSERT_TRUE(device->openConnection());
    device->readSystemConfig();
    EXPECT_EQ(fullNames(*device, "allChannels"), (std::vector<std::string>{"Torque"}));
    EXPECT_TRUE(fullNames(*device, "Engine").empty());
    EXPECT_EQ(device->channelTable().groups().count("Engine"), 1u) << "emptied groups stay";
    EXPECT_EQ(log(), "");
}

TEST_F(Acquisition, RecordsReachTheHostChannelsAtSynchronisedTimes) {
    auto sim = simulate(simConfig());
    auto device = deviceFor(*sim);
    device->startAcquisition();
    now = 0.05;  // five records at 100 Hz
    device->readMeasurements(2.0);

    EXPECT_NEAR(device->timeOrigin(), 1000.01, 1e-6);
    for (std::size_t k = 0; k < 3; ++k) {
        const ChannelObject& hostChannel = hostOf(*device, k);
        ASSERT_EQ(hostChannel.samplesWritten(), 5u) << "channel " << k;
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(hostChannel.valueAt(i), simulatedValue(k, i + 1)) << k << "/" << i;
            // The last record of the block is the host's time now.
            EXPECT_NEAR(hostChannel.timeAt(i), 2.0 - 0.01 * (4 - i), 1e-6) << k << "/" << i;
        }
    }
    const auto speed = device->channelTable().channels("allChannels")[0];
    EXPECT_EQ(speed->latestValue(), simulatedValue(0, 5));
    EXPECT_NEAR(speed->latestTimestamp(), 2.0, 1e-6);

    now = 0.15;
    device->readMeasurements(3.0);
    EXPECT_NEAR(device->timeOrigin(), 1000.01, 1e-6) << "fixed by the first block only";
    const ChannelObject& hostChannel = hostOf(*speed);
    ASSERT_EQ(hostChannel.samplesWritten(), 15u);
    for (int i = 1; i < 15; ++i) EXPECT_GE(hostChannel.timeAt(i), hostChannel.timeAt(i - 1)) << i;
    EXPECT_EQ(hostChannel.valueAt(14), simulatedValue(0, 15));

    device->stopAcquisition();
    EXPECT_TRUE(device->deviceInfo()->connected);
    EXPECT_EQ(log(), "");
}

TEST_F(Acquisition, InvalidRecordsAndUnusedChannelsHandNothingToTheHost) {
    SimConfig config = simConfig();
    config.faults.badStatusEvery = 5;  // the last record of the block
    auto sim = simulate(config);
    auto device = deviceFor(*sim);
    const auto channels = device->channelTable().channels("allChannels");
    channels[1]->output()->setUsed(false);
    factory.refreshAddData();
    device->startAcquisition();
    now = 0.05;
    device->readMeasurements(2.0);

    const ChannelObject& speed = hostOf(*channels[0]);
    ASSERT_EQ(speed.samplesWritten(), 4u);
    EXPECT_EQ(speed.valueAt(3), simulatedValue(0, 4));
    // The skipped record still gave the block its time.
    EXPECT_NEAR(speed.timeAt(3), 1.99, 1e-6);
    EXPECT_EQ(channels[0]->latestValue(), simulatedValue(0, 4));

    EXPECT_EQ(hostOf(*channels[1]).samplesWritten(), 0u);
    EXPECT_EQ(channels[1]->latestValue(), simulatedValue(1, 4));
    EXPECT_NEAR(channels[1]->latestTimestamp(), 1.99, 1e-6);
}

TEST_F(Acquisition, SamplesBeforeTheFirstClockPairAreStampedZero) {
    auto sim = simulate(simConfig());
    auto device = deviceFor(*sim);
    device->startAcquisition();
    now = 0.01;  // one record: its own relative time is 0, no pair to fit yet
    device->readMeasurements(2.0);
    const ChannelObject& hostChannel = hostOf(*device, 0);
    ASSERT_EQ(hostChannel.samplesWritten(), 1u);
    EXPECT_EQ(hostChannel.timeAt(0), 0.0);

    now = 0.02;
    device->readMeasurements(2.5);
    ASSERT_EQ(hostChannel.samplesWritten(), 2u);
    EXPECT_NEAR(hostChannel.timeAt(1), 2.5, 1e-6);
}

TEST_F(Acquisition, RefusedCommandsAreLoggedAndTheDeviceIsStillRead) {
    SimConfig config = simConfig();
    config.faults.refuseRun = true;
    config.faults.refuseStop = true;
    auto sim = simulate(config);
    auto device = deviceFor(*sim);
    device->startAcquisition();
    now = 0.05;
    device->readMeasurements(2.0);  // the device is not running: nothing is ready
    device->stopAcquisition();
    EXPECT_TRUE(logged("[VexaDevice::startAcquisition@308] Command RUN failed!\n")) << log();
    EXPECT_TRUE(logged("[VexaDevice::stopAcquisition@330] Command STOP failed!\n")) << log();
    EXPECT_TRUE(device->deviceInfo()->connected);
    EXPECT_EQ(hostOf(*device, 0).samplesWritten(), 0u);
}

TEST_F(Acquisition, OverlongStatusReplyClosesTheConnection) {
    SimConfig config = simConfig();
    config.faults.longReplies = true;
    auto sim = simulate(config);
    auto device = deviceFor(*sim);
    device->startAcquisition();
    EXPECT_TRUE(logged("[VexaDevice::startAcquisition@312] Unexpected response from the server at command RUN.\n"))
        << log();
    EXPECT_FALSE(device->deviceInfo()->connected);
    device->readMeasurements(2.0);  // quietly nothing
    device->stopAcquisition();
    EXPECT_TRUE(logged("Additional information: stop acquisition\n")) << log();
}

TEST_F(Acquisition, CountBeyondTheCapIsNotAllocatedAndClosesTheConnection) {
    SimConfig config = simConfig();
    config.sampleRate = 1e6;
    auto sim = simulate(config);
    auto device = deviceFor(*sim);
    device->startAcquisition();
    now = 1.0;  // a million records of 32 bytes
    largestAllocation = 0;
    watchAllocations = true;
    device->readMeasurements(2.0);
    watchAllocations = false;
    EXPECT_LT(largestAllocation.load(), vexa::protocol::kMaxBlockBytes);
    EXPECT_TRUE(logged("Unexpected response from the server at command OMP?.\n")) << log();
    EXPECT_FALSE(device->isConnected("after the count"));
}

TEST_F(Acquisition, TransportFailuresMidBlockEndTheExchangeWithTheConnectionClosed) {
    SimConfig closing = simConfig();
    closing.faults.closeMidBlock = true;
    SimConfig stalling = simConfig();
    stalling.faults.stallAfter = 3;  // IDN?, CFG?, RUN; then silence
    for (const SimConfig& config : {closing, stalling}) {
        auto sim = simulate(config);
        auto device = deviceFor(*sim);
        device->startAcquisition();
        now = now + 0.05;
        EXPECT_THROW(device->readMeasurements(2.0), TcpException);
        EXPECT_FALSE(device->deviceInfo()->connected);
        EXPECT_FALSE(device->isConnected("after the failure"));
        EXPECT_EQ(hostOf(*device, 0).samplesWritten(), 0u) << "no partial block is handed on";
    }
}

}  // namespace
}  // namespace acquisition_test
