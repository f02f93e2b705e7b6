// One device's connection and identity against the simulator, including
// the ways a device can misbehave on the wire.
#include "support/acquisition_fixture.h"
#include "support/allocation_watch.h"
#include "net/tcp_exception.h"

namespace acquisition_test {
namespace {

using Nerova::NvLib::Protocols::Ethernet::TcpError;
using Nerova::NvLib::Protocols::Ethernet::TcpException;

// Devices without output channels, not yet connected.
class Device : public AcquisitionTest {
protected:
    std::unique_ptr<Simulator> simulate(SimConfig config = {}) { return AcquisitionTest::simulate(std::move(config)); }
    static std::shared_ptr<VexaDevice> deviceFor(const Simulator& sim) {
        auto device = VexaDevice::create("127.0.0.1", sim.port(), nullptr);
        device->setReplyTimeout(300ms);
        return device;
    }
};

TEST_F(Device, ConnectsIsIdentifiedAndDisconnects) {
    SimConfig config;
    config.name = "Bench rig 7";
    auto sim = simulate(config);
    auto device = VexaDevice::create("LocalHost", sim->port(), nullptr);
    EXPECT_EQ(device->deviceInfo()->name, "Unknown Vexa device");
    EXPECT_EQ(device->channelTable().groups().count("allChannels"), 1u);

    ASSERT_TRUE(device->openConnection());
    EXPECT_TRUE(device->deviceInfo()->connected);
    EXPECT_EQ(device->deviceInfo()->name, "Bench rig 7");
    EXPECT_EQ(device->deviceInfo()->ipAddress, "LocalHost");  // kept as typed

    device->closeConnection();
    EXPECT_FALSE(device->deviceInfo()->connected);
    EXPECT_EQ(device->deviceInfo()->name, "Unknown Vexa device");
    device->closeConnection();

    EXPECT_TRUE(device->openConnection());  // a device can come back
    EXPECT_EQ(device->deviceInfo()->name, "Bench rig 7");
    EXPECT_EQ(log(), "");
}

TEST_F(Device, FailedConnectIsLoggedAndAnsweredFalseWithinTheTimeout) {
    std::uint16_t port = 0;
    {
        auto sim = simulate();
        port = sim->port();
    }
    auto device = VexaDevice::create("127.0.0.1", port, nullptr);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(device->openConnection());
    EXPECT_LT(std::chrono::steady_clock::now() - started, 6500ms);
    EXPECT_FALSE(device->deviceInfo()->connected);
    EXPECT_EQ(device->deviceInfo()->name, "Unknown Vexa device");
    EXPECT_TRUE(logged(" ERROR ")) << log();
    EXPECT_TRUE(logged("[VexaDevice::openConnection@367] Runtime error at the opening "
                       "connection. Message: Unknown error\n"))
        << log();
}

TEST_F(Device, ExchangesWithoutAConnectionAreLoggedWithTheirContext) {
    auto device = VexaDevice::create("127.0.0.1", 5963, nullptr);
    EXPECT_FALSE(device->isConnected("start acquisition"));
    device->readDeviceInfo();
    EXPECT_TRUE(logged("[VexaDevice::isConnected@393] Connection is not established. "
                       "Additional information: start acquisition\n"));
    EXPECT_TRUE(logged("[VexaDevice::isConnected@393] Connection is not established. "
                       "Additional information: reading device info\n"));
}

TEST_F(Device, StallingDeviceEndsTheExchangeWithinTheBoundAndIsDisconnected) {
    SimConfig config;
    config.faults.stallAfter = 1;  // answers IDN? on connect, then goes silent
    auto sim = simulate(config);
    auto device = deviceFor(*sim);
    ASSERT_TRUE(device->openConnection());
    try {
        device->readDeviceInfo();
        FAIL() << "a silent device answered";
    } catch (const TcpException& error) {
        EXPECT_EQ(error.code(), TcpError::Unknown);
        EXPECT_NE(std::string(error.what()).find("timed out"), std::string::npos);
    }
    EXPECT_FALSE(device->deviceInfo()->connected);
    EXPECT_EQ(device->deviceInfo()->name, "Unknown Vexa device");
    EXPECT_FALSE(device->isConnected("after the stall"));
}

TEST_F(Device, StallDuringConnectIsLoggedAsTheTransportFailure) {
    SimConfig config;
    config.faults.stallAfter = 0;
    auto sim = simulate(config);
    auto device = deviceFor(*sim);
    EXPECT_FALSE(device->openConnection());
    EXPECT_TRUE(logged("Runtime error at the opening connection. Message: Unknown error: the "
                       "receive timed out after 300 ms\n"))
        << log();
}

TEST_F(Device, OversizedLengthIsNotAllocatedAndDropsTheConnection) {
    SimConfig config;
    config.faults.oversizedLength = true;
    auto sim = simulate(config);
    auto device = deviceFor(*sim);
    largestAllocation = 0;
    watchAllocations = true;
    const bool connected = device->openConnection();
    watchAllocations = false;
    EXPECT_FALSE(connected);
    EXPECT_LT(largestAllocation.load(), std::size_t{1} << 20);
    EXPECT_TRUE(logged("[VexaDevice::readDeviceInfo@57] Unexpected response from the server at "
                       "command IDN?.\n"))
        << log();
    EXPECT_FALSE(device->isConnected("after the oversized reply"));
}

TEST_F(Device, ShortHeaderIsLoggedAndLeavesTheNameUnknown) {
    SimConfig config;
    config.faults.shortReplies = true;
    auto sim = simulate(config);
    auto device = deviceFor(*sim);
    EXPECT_TRUE(device->openConnection());  // the link itself is fine
    EXPECT_EQ(device->deviceInfo()->name, "Unknown Vexa device");
    EXPECT_TRUE(logged("Unexpected response from the server at command IDN?.")) << log();
}

TEST_F(Device, PeerThatHangsUpMidExchangeIsReportedAsRemoteClose) {
    SimConfig config;
    config.faults.closeAfter = 0;
    auto sim = simulate(config);
    auto device = deviceFor(*sim);
    EXPECT_FALSE(device->openConnection());
    EXPECT_TRUE(logged("Message: Connection terminated by remote socket\n")) << log();

    SimConfig later;
    later.faults.closeAfter = 1;
    auto second = simulate(later);
    auto other = deviceFor(*second);
    ASSERT_TRUE(other->openConnection());
    try {
        other->readDeviceInfo();
        FAIL() << "a closed peer answered";
    } catch (const TcpException& error) {
        EXPECT_EQ(error.code(), TcpError::RemoteClosed);
    }
    EXPECT_FALSE(other->deviceInfo()->connected);
}

TEST_F(Device, TrickledIdentityIsReadWholeAndLeavesTheStreamInStep) {
    SimConfig config;
    config.name = "A device whose name spans many small pieces";
    config.faults.tricklePiece = 8;  // a whole header, then the rest in pieces
    auto sim = simulate(config);
    auto device = deviceFor(*sim);
    ASSERT_TRUE(device->openConnection());
    EXPECT_EQ(device->deviceInfo()->name, config.name);
    device->readDeviceInfo();
    EXPECT_EQ(device->deviceInfo()->name, config.name);
}

}  // namespace
}  // namespace acquisition_test
