#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/command_line.h"
#include "sim/loopback_address.h"

using vexa::sim::parseLoopbackAddress;
using vexa::sim::readCommandLine;
using vexa::sim::SimCommand;

namespace {

struct BadLine {
    std::vector<std::string> arguments;
    std::string named;  // what the one error line must hold: the option and the value
};

}  // namespace

TEST(SimCommandLine, EveryMistakeIsOneLineNamingTheOptionWithStatusTwo) {
    const BadLine cases[] = {
        {{"--port", "65536"}, "--port: '65536'"},
        {{"--port", "-1"}, "--port: '-1'"},
        {{"--port", "0x10"}, "--port: '0x10'"},
        {{"--address", "10.0.0.1"}, "--address: '10.0.0.1'"},
        {{"--address", "127.1"}, "--address: '127.1'"},
        {{"--address", "localhost"}, "--address: 'localhost'"},
        {{"--rate", "0"}, "--rate: '0'"},
        {{"--rate", "fast"}, "--rate: 'fast'"},
        {{"--rate", "inf"}, "--rate: 'inf'"},
        {{"--drift", "-2e6"}, "--drift: '-2e6'"},
        {{"--exit-after", "0"}, "--exit-after: '0'"},
        {{"--channels", "a,,b"}, "--channels: 'a,,b'"},
        {{"--bad-status-every", "0"}, "--bad-status-every: '0'"},
        {{"--stall-after", "4294967296"}, "--stall-after: '4294967296'"},
        {{"--trickle", "0"}, "--trickle: '0'"},
        {{"--devices", "0"}, "--devices: '0'"},
        {{"--fault-phase", "Data"}, "--fault-phase: 'Data'"},
        {{"--port"}, "--port"},
        {{"--port", "1", "--port", "2"}, "--port"},
        {{"--bogus"}, "--bogus"},
        {{"stray"}, "stray"},
    };
    for (const BadLine& bad : cases) {
        SimCommand command;
        const auto outcome = readCommandLine(bad.arguments, command);
        const std::string line = bad.arguments.front() + (bad.arguments.size() > 1 ? " " + bad.arguments[1] : "");
        EXPECT_FALSE(outcome.run) << line;
        EXPECT_EQ(outcome.status, 2) << line;
        EXPECT_EQ(outcome.error.rfind("vexa-sim: ", 0), 0u) << outcome.error;
        EXPECT_NE(outcome.error.find(bad.named), std::string::npos) << outcome.error;
        EXPECT_EQ(outcome.error.find('\n'), std::string::npos) << outcome.error;
        EXPECT_TRUE(outcome.out.empty()) << line;
    }
}

TEST(SimCommandLine, EveryOptionReachesTheDeviceConfiguration) {
    SimCommand command;
    const auto outcome = readCommandLine(
        {"--address", "127.3.2.1", "--port", "5963", "--name", "Rig", "--channels", "a/x:V,b", "--rate", "250.5",
         "--offset", "-5", "--drift=-20", "--exit-after", "1.5", "--refuse-run", "--close-mid-block",
         "--bad-status-every", "010", "--stall-after", "0", "--trickle", "3", "--devices", "32", "--free-run", "--fault-phase", "stop"},
        command);
    ASSERT_TRUE(outcome.run) << outcome.error;
    EXPECT_EQ(command.address, "127.3.2.1");
    EXPECT_EQ(command.port, 5963);
    EXPECT_EQ(command.config.name, "Rig");
    ASSERT_EQ(command.config.channels.size(), 2u);
    EXPECT_EQ(command.config.channels[0].unit, "V");
    EXPECT_DOUBLE_EQ(command.config.sampleRate, 250.5);
    EXPECT_DOUBLE_EQ(command.config.clockOffset, -5.0);
    EXPECT_DOUBLE_EQ(command.config.driftPpm, -20.0);
    EXPECT_DOUBLE_EQ(command.exitAfterSeconds, 1.5);
    EXPECT_EQ(command.config.devices, 32u);
    EXPECT_TRUE(command.config.freeRun);
    const auto& faults = command.config.faults;
    EXPECT_TRUE(faults.refuseRun);
    EXPECT_TRUE(faults.closeMidBlock);
    EXPECT_FALSE(faults.refuseStop);
    EXPECT_EQ(faults.badStatusEvery, 10u) << "decimal, never octal";
    EXPECT_EQ(faults.stallAfter, 0u) << "answering no command at all is a fault of its own";
    EXPECT_FALSE(faults.closeAfter.has_value());
    EXPECT_EQ(faults.tricklePiece, 3u);
    EXPECT_EQ(faults.phase, vexa::sim::Phase::Stop);
}

TEST(SimCommandLine, WithoutOptionsServesTheDefaultDeviceOnAnyPortOfTheUsualAddress) {
    SimCommand command;
    ASSERT_TRUE(readCommandLine({}, command).run);
    EXPECT_EQ(command.address, "127.0.0.1");
    EXPECT_EQ(command.port, 0);
    EXPECT_EQ(command.config.channels.size(), vexa::sim::SimConfig{}.channels.size());
}

TEST(SimCommandLine, HelpAndVersionGoToStdoutWithStatusZero) {
    SimCommand command;
    const auto help = readCommandLine({"--help"}, command);
    EXPECT_FALSE(help.run);
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--address"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("--close-after"), std::string::npos) << help.out;
    const auto version = readCommandLine({"--version"}, command);
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "vexa-sim " VEXA_VERSION "\n");
}

TEST(LoopbackAddress, OnlyFullDottedDecimalAddressesIn127Slash8) {
    EXPECT_EQ(parseLoopbackAddress("127.0.0.1"), 0x7F000001u);
    EXPECT_EQ(parseLoopbackAddress("127.255.10.0"), 0x7FFF0A00u);
    for (const char* refused : {"", "127", "127.0.1", "127.0.0.1.", "127.0.0.1.5", "127.0.0.256", "127.0.0.01",
                                "127.0.0.-1", "127.0.0.+1", "127..0.1", " 127.0.0.1", "128.0.0.1", "0.0.0.0",
                                "10.0.0.1", "localhost", "127.0.0.1:80"}) {
        EXPECT_FALSE(parseLoopbackAddress(refused).has_value()) << refused;
    }
}
