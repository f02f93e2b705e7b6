#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <bit>

#include "net/tcp_exception.h"
#include "sim/simulator.h"
#include "support/sim_client.h"

using namespace vexa::sim;
using vexa::test::bigEndian32;
using vexa::test::Bytes;
using vexa::test::SimClient;

namespace {

// A simulator whose real-time clock the test sets.
struct ClockedSim {
    explicit ClockedSim(SimConfig config) : sim(withClock(std::move(config), now)) {}
    static SimConfig withClock(SimConfig config, std::atomic<double>& clock) {
        config.clock = [&clock] { return clock.load(); };
        return config;
    }
    std::atomic<double> now{0.0};
    Simulator sim;
};

SimConfig twoChannels() {
    SimConfig config;
    config.channels = parseChannelList("a/x:V,b");
    config.sampleRate = 100.0;
    config.clockOffset = 1000.0;
    return config;
}

std::string text(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

TEST(Simulator, AnswersIdentityAndConfigurationFramed) {
    SimConfig config = twoChannels();
    config.name = "Rig";
    Simulator sim(config);
    SimClient client(sim.port());

    const Bytes identity = client.ask("IDN?;\n", 8 + 3 + 2);
    EXPECT_EQ(bigEndian32(identity, 4), 3u);
    EXPECT_EQ(text(identity).substr(8, 3), "Rig");

    const std::string expected = "channel 1 name 'a/x' unit 'V' channel 2 name 'b' unit ''";
    const Bytes header = client.ask("CFG?;\n", 8);
    ASSERT_EQ(bigEndian32(header, 4), expected.size());
    EXPECT_EQ(text(client.receive(expected.size() + 2)).substr(0, expected.size()), expected);
}

TEST(Simulator, RecordsFollowTheDeviceClockFromRunAndAreHandedOutOnce) {
    ClockedSim device(twoChannels());
    SimClient client(device.sim.port());
    EXPECT_EQ(client.ask("RUN a/x,b\n", 6)[3], '0');

    device.now = 0.05;
    EXPECT_EQ(bigEndian32(client.ask("OMP?;\n", 10), 4), 5u);
    const std::size_t recordSize = 20 + 4 * 2;
    const Bytes block = client.ask("RMB? 5;\n", 5 * recordSize);
    for (std::size_t r = 0; r < 5; ++r) {
        const std::size_t at = r * recordSize;
        const double t = 1000.0 + 0.01 * static_cast<double>(r + 1);
        EXPECT_EQ(block[at + 3], '0');
        EXPECT_EQ(bigEndian32(block, at + 4), 1000u);
        EXPECT_NEAR(static_cast<double>(bigEndian32(block, at + 8)), (t - 1000.0) * 1e9, 1.0);
        EXPECT_EQ(std::bit_cast<float>(bigEndian32(block, at + 16)), channelValue(0, r + 1));
        EXPECT_EQ(std::bit_cast<float>(bigEndian32(block, at + 20)), channelValue(1, r + 1));
    }
    EXPECT_EQ(bigEndian32(client.ask("OMP?;\n", 10), 4), 0u);  // all handed out
    device.now = 0.1;
    EXPECT_EQ(bigEndian32(client.ask("OMP?;\n", 10), 4), 5u);
    EXPECT_EQ(client.ask("STOP;\n", 6)[3], '0');
    EXPECT_EQ(bigEndian32(client.ask("OMP?;\n", 10), 4), 0u);
}

TEST(Simulator, DriftAndOffsetShapeTheDeviceClock) {
    SimConfig config = twoChannels();
    config.sampleRate = 10.0;
    config.clockOffset = 50.0;
    config.driftPpm = 1000.0;
    ClockedSim device(config);
    SimClient client(device.sim.port());
    device.now = 10.0;
    client.ask("RUN a/x\n", 6);  // device time 50 + 10.01
    device.now = 20.0;           // device time 50 + 20.02: 10.01 s later
    EXPECT_EQ(bigEndian32(client.ask("OMP?;\n", 10), 4), 100u);
    const Bytes record = client.ask("RMB? 1;\n", 24);
    EXPECT_EQ(bigEndian32(record, 4), 60u);
    EXPECT_NEAR(bigEndian32(record, 8) * 1e-9, 0.11, 1e-6);
}

TEST(Simulator, ListensOnTheLoopbackAddressItIsGivenAndOnNoOther) {
    Simulator sim(twoChannels(), 0, "127.0.0.2");
    EXPECT_EQ(sim.address(), "127.0.0.2");
    SimClient client(sim.port(), std::chrono::milliseconds(2000), "127.0.0.2");
    EXPECT_EQ(bigEndian32(client.ask("IDN?;\n", 8), 4), SimConfig{}.name.size());
    for (const char* outside : {"0.0.0.0", "10.0.0.1", "localhost", "127.0.0"}) {
        EXPECT_THROW(Simulator(twoChannels(), 0, outside), std::invalid_argument) << outside;
    }
}

TEST(Simulator, EveryValueIsAFunctionOfChannelAndRecordNumberAcrossThePeriod) {
    // Blocks that cross the end of the built period, channels run in
    // another order than configured, every seventh record marked bad.
    SimConfig config = twoChannels();
    config.sampleRate = 1000.0;
    config.faults.badStatusEvery = 7;
    ClockedSim device(config);
    SimClient client(device.sim.port());
    client.ask("RUN b,a/x\n", 6);
    device.now = 2.5;
    const std::size_t recordSize = 20 + 4 * 2;
    std::uint64_t sequence = 0;
    for (const std::uint32_t count : {995u, 10u, 1u, 1000u, 494u}) {
        ASSERT_GE(bigEndian32(client.ask("OMP?;\n", 10), 4), count);
        const Bytes block = client.ask("RMB? " + std::to_string(count) + ";\n", count * recordSize);
        for (std::size_t r = 0; r < count; ++r) {
            const std::size_t at = r * recordSize;
            ++sequence;
            ASSERT_EQ(bigEndian32(block, at + 12), sequence);
            ASSERT_EQ(block[at + 3], sequence % 7 == 0 ? '1' : '0') << sequence;
            ASSERT_EQ(std::bit_cast<float>(bigEndian32(block, at + 16)), channelValue(1, sequence)) << sequence;
            ASSERT_EQ(std::bit_cast<float>(bigEndian32(block, at + 20)), channelValue(0, sequence)) << sequence;
            const double t = 1000.0 + static_cast<double>(sequence) / 1000.0;
            ASSERT_NEAR(bigEndian32(block, at + 4) + bigEndian32(block, at + 8) * 1e-9, t, 1e-9) << sequence;
        }
    }
    EXPECT_EQ(channelValue(3, 17), channelValue(3, 17 + kValuePeriod));
    EXPECT_NE(channelValue(3, 17), channelValue(3, 18));
}

TEST(Simulator, FreeRunningHasABlockReadyAtEveryAskAndKeepsTheRateInItsTimeStamps) {
    SimConfig config = twoChannels();
    config.sampleRate = 2000.0;
    config.freeRun = true;
    ClockedSim device(config);  // the clock stays at 0
    SimClient client(device.sim.port());
    EXPECT_EQ(bigEndian32(client.ask("OMP?;\n", 10), 4), 0u) << "nothing before RUN";
    client.ask("RUN a/x,b\n", 6);
    for (int step = 0; step < 3; ++step) {
        ASSERT_EQ(bigEndian32(client.ask("OMP?;\n", 10), 4), 20u) << "10 ms of records";
        const Bytes block = client.ask("RMB? 20;\n", 20 * 28);
        const std::size_t last = 19 * 28;
        EXPECT_NEAR(bigEndian32(block, last + 8) * 1e-9, 0.0005 * (20 * (step + 1)), 1e-9);
    }
}

TEST(Simulator, ServesSeveralDevicesEachOnItsOwnPortWithItsOwnName) {
    SimConfig config = twoChannels();
    config.name = "Rig";
    config.devices = 3;
    Simulator sim(config);
    ASSERT_EQ(sim.ports().size(), 3u);
    EXPECT_EQ(sim.port(), sim.ports()[0]);
    const std::vector<std::string> names = {"Rig", "Rig 2", "Rig 3"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        SimClient client(sim.ports()[i]);
        const Bytes identity = client.ask("IDN?;\n", 8 + names[i].size() + 2);
        EXPECT_EQ(text(identity).substr(8, names[i].size()), names[i]);
        EXPECT_EQ(client.ask("RUN a/x\n", 6)[3], '0') << "each device runs on its own";
    }
}

TEST(Simulator, RunTakesTheDevicesFullNamesOnlyAndARefusedRunStartsNothing) {
    ClockedSim device(twoChannels());
    SimClient client(device.sim.port());
    // A short name, a name out of another device, an empty piece: each
    // refused, and the device stays idle.
    for (const char* line : {"RUN x\n", "RUN a/x,c\n", "RUN a/x,\n", "RUN a/x,,b\n", "RUN Speed\n"}) {
        EXPECT_EQ(client.ask(line, 6)[3], '?') << line;
        device.now = device.now + 1.0;
        EXPECT_EQ(bigEndian32(client.ask("OMP?;\n", 10), 4), 0u) << line;
    }
    EXPECT_EQ(client.ask("RUN \n", 6)[3], '0') << "no channels at all";
    EXPECT_EQ(client.ask("RUN b,a/x\n", 6)[3], '0');
}

TEST(Simulator, ACommandWaitsForItsLineFeedHoweverLongItTakes) {
    ClockedSim device(twoChannels());
    using Nerova::NvLib::Protocols::Ethernet::TcpException;
    // The channel list of a device without channels is empty, and so is
    // the RUN line's: "RUN " without a line feed is never answered.
    SimClient unanswered(device.sim.port(), std::chrono::milliseconds(300));
    EXPECT_THROW(unanswered.ask("RUN ", 6), TcpException);

    SimClient client(device.sim.port());
    client.send("RUN a");
    client.send("/x");
    EXPECT_EQ(client.ask("\n", 6)[3], '0') << "the line is whole only at its line feed";
}

TEST(Simulator, FaultsStrikeOnlyInTheirPhaseAndCountFromItsFirstCommand) {
    SimConfig config = twoChannels();
    config.faults.phase = Phase::Data;
    config.faults.shortReplies = true;
    config.faults.closeAfter = 2;
    ClockedSim device(config);
    SimClient client(device.sim.port());
    EXPECT_EQ(bigEndian32(client.ask("IDN?;\n", 8), 4), SimConfig{}.name.size());
    client.receive(SimConfig{}.name.size() + 2);
    EXPECT_EQ(text(client.ask("RUN a/x\n", 6)), "RUN0;\n");
    device.now = 0.05;
    EXPECT_EQ(text(client.ask("OMP?;\n", 9)).substr(0, 4), "OMP ") << "one byte short";
    EXPECT_EQ(client.ask("RMB? 0;\n", 0).size(), 0u);
    // The third command of the phase finds the device gone.
    client.send("OMP?;\n");
    EXPECT_THROW(client.receive(1), Nerova::NvLib::Protocols::Ethernet::TcpException);
}
