#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "support/program_run.h"
#include "support/recorded_csv.h"
#include "host/acquisition.h"
#include "host/plugin_module.h"
#include "sim/simulator.h"

namespace {

namespace fs = std::filesystem;
using vexa::host::AcquisitionOptions;
using vexa::test::programBesideTest;
using vexa::test::runProgram;

std::map<std::string, std::vector<vexa::test::RecordedSample>> readCsv(const fs::path& file, std::string& header) {
    return vexa::test::readRecordedCsv(file, header);
}

class Acquire : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("vexa-e2e-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                              "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        options.pluginPath = vexa::host::PluginModule::besideProgram();
        options.durationSeconds = 0.6;
        options.stepMs = 50;
        options.logFolder = folder.string() + "/";
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path folder;
    AcquisitionOptions options;
};

TEST_F(Acquire, SimulatedDeviceReachesEveryHostChannelAtRisingHostTimes) {
    options.csvFile = (folder / "run.csv").string();
    options.saveSettingsFile = (folder / "settings.xml").string();
    options.saveSetupFile = (folder / "setup.xml").string();
    ASSERT_TRUE(vexa::host::runAcquisition(options));

    std::string header;
    const auto rows = readCsv(options.csvFile, header);
    EXPECT_EQ(header, "channel,time,value");
    ASSERT_EQ(rows.size(), 3u) << "every channel of the simulated device records";
    for (const auto& [channel, samples] : rows) {
        ASSERT_FALSE(samples.empty()) << channel;
        for (std::size_t i = 1; i < samples.size(); ++i)
            EXPECT_GE(samples[i].time, samples[i - 1].time) << channel << " goes back in time at row " << i;
        EXPECT_LT(samples.back().time, options.durationSeconds + 1.0) << channel;
    }
    EXPECT_TRUE(fs::exists(options.saveSettingsFile));
    EXPECT_TRUE(fs::exists(options.saveSetupFile));
}

TEST_F(Acquire, ADeviceThatRefusesTheConnectionRecordsNothingAndTheRunStillEnds) {
    // A loopback port nobody listens on: the connect is refused at once.
    options.devices = {"127.0.0.1:1"};
    options.durationSeconds = 0.1;
    options.csvFile = (folder / "run.csv").string();
    EXPECT_TRUE(vexa::host::runAcquisition(options));
    std::string header;
    EXPECT_TRUE(readCsv(options.csvFile, header).empty());
    EXPECT_EQ(header, "channel,time,value");
}

TEST(HostProgram, AMistakeIsOneLineOnStderrWithStatusTwoAndHelpIsNoMistake) {
    vexa::test::checkUsage(programBesideTest("vexa-host"), {
        {{"acquire", "--duration", "abc"}, 2, "--duration: 'abc'"},
        {{"acquire", "--duration", "-1"}, 2, "--duration: '-1'"},
        {{"acquire", "--device", "127.0.0.1:notaport"}, 2, "--device: '127.0.0.1:notaport'"},
        {{"acquire", "--step-ms", "0"}, 2, "--step-ms: '0'"},
        {{"acquire", "--help"}, 0, "--step-ms"},
        {{"--help"}, 0, "check"},
        {{"--version"}, 0, "vexa-host "},
    }, [](bool good, const std::string& what) { EXPECT_TRUE(good) << what; });
}

// A carriage return that does not end a line redraws it: a progress line.
bool redrawsALine(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return true;
    }
    return false;
}

TEST_F(Acquire, TheProgramRecordsADeviceOnAFixedPortAndWithoutATerminalShowsNoProgress) {
    // The settings window's ports are fixed; a loopback address of this
    // test's own keeps parallel tests apart.
    std::random_device random;
    std::uniform_int_distribution<int> part(0, 255), last(1, 254);
    const std::string address = "127." + std::to_string(part(random)) + "." + std::to_string(part(random)) + "." +
                                std::to_string(last(random));
    vexa::sim::Simulator device(vexa::sim::SimConfig{}, 5963, address);
    const fs::path csv = folder / "run.csv";

    const auto run = runProgram(programBesideTest("vexa-host"),
                                {"acquire", "--device", address + ":5963", "--duration", "0.6", "--step-ms", "50",
                                 "--out", csv.string(), "--log-dir", folder.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    std::string header;
    EXPECT_EQ(readCsv(csv, header).size(), 3u) << run.out;
    EXPECT_EQ(header, "channel,time,value");
    EXPECT_NE(run.out.find("samples"), std::string::npos) << run.out;
    EXPECT_FALSE(redrawsALine(run.out)) << run.out;
    EXPECT_EQ(run.out.find("total:"), std::string::npos) << "the totals belong to the progress display";
}

TEST_F(Acquire, TheProgramChecksThePluginsLife) {
    const auto run = runProgram(programBesideTest("vexa-host"), {"check", "--log-dir", folder.string()});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("DllCanUnloadNow"), std::string::npos) << run.out;
}

}  // namespace
