#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "host/acquisition.h"
#include "host/plugin_module.h"

namespace {

namespace fs = std::filesystem;
using vexa::host::AcquisitionOptions;

struct Row {
    double time;
    double value;
};

// channel -> rows, in file order.
std::map<std::string, std::vector<Row>> readCsv(const fs::path& file, std::string& header) {
    std::ifstream in(file);
    std::getline(in, header);
    std::map<std::string, std::vector<Row>> rows;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string channel, time, value;
        std::getline(fields, channel, ',');
        std::getline(fields, time, ',');
        std::getline(fields, value);
        rows[channel].push_back({std::stod(time), std::stod(value)});
    }
    return rows;
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

}  // namespace
