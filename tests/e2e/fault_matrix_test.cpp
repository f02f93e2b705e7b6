// Every way a simulated device misbehaves, at every point of a session where
// it can: the reference host runs a whole acquisition through the plug-in
// module with one faulty device listed first and one healthy device after
// it. The run must end in bounded time, report the faulty device at most
// once, and record every one of the healthy device's samples in order.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "host/acquisition.h"
#include "host/plugin_module.h"
#include "sim/simulator.h"
#include "support/recorded_csv.h"

namespace {

namespace fs = std::filesystem;
using vexa::host::AcquisitionOptions;
using vexa::host::AcquisitionResult;
using vexa::sim::Faults;
using vexa::sim::Phase;
using vexa::sim::SimConfig;
using vexa::sim::Simulator;

constexpr double kReplyTimeout = vexa::host::kDeviceStallSeconds;
constexpr double kRate = 200.0;  // the healthy device's records per second
constexpr double kDuration = 0.6;
constexpr int kStepMs = 50;

struct FaultCase {
    const char* name;  // fault_phase, the test's name
    Phase phase;
    std::function<void(SimConfig&)> apply;
    std::size_t reports;      // what the host hears of the faulty device
    int timeouts;             // replies it waits for in vain
    int faultyExchanges;      // exchanges the fault touches, at a second each at most
};

SimConfig healthyDevice() {
    SimConfig config;
    config.name = "Healthy";
    config.channels = vexa::sim::parseChannelList("Good/h0:V,Good/h1:V");
    config.sampleRate = kRate;
    return config;
}

SimConfig faultyDevice(const FaultCase& fault) {
    SimConfig config;
    config.name = "Faulty";
    config.channels = vexa::sim::parseChannelList("Bad/f0:V,Bad/f1:V,Bad/f2:V");
    config.sampleRate = 100.0;
    config.faults.phase = fault.phase;
    fault.apply(config);
    return config;
}

// Samples of healthy channel `k` missing, out of order or wrong: its
// values must be those of records 1, 2, 3, ... without a gap, and at least
// as many as the device had made by the last data step.
std::size_t healthySamplesLost(const std::vector<vexa::test::RecordedSample>& rows, std::size_t k,
                               std::string& why) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].value != static_cast<double>(vexa::sim::channelValue(k, i + 1))) {
            why = "record " + std::to_string(i + 1) + " holds " + std::to_string(rows[i].value);
            return rows.size() - i;
        }
        if (i > 0 && rows[i].time < rows[i - 1].time) {
            why = "time goes back at record " + std::to_string(i + 1);
            return rows.size() - i;
        }
    }
    const auto due = static_cast<std::size_t>(std::floor(kRate * kDuration)) - 1;
    if (rows.size() < due) {
        why = "only " + std::to_string(rows.size()) + " of at least " + std::to_string(due) + " records";
        return due - rows.size();
    }
    return 0;
}

class FaultMatrix : public ::testing::TestWithParam<FaultCase> {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("vexa-faults-" + std::string(GetParam().name));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { if (!std::getenv("VEXA_KEEP")) fs::remove_all(folder); }

    // One run with `devices` ("HOST:PORT"); its wall time in seconds.
    AcquisitionResult run(const std::vector<std::string>& devices, const std::string& csv, double& wall) {
        AcquisitionOptions options;
        options.pluginPath = vexa::host::PluginModule::besideProgram();
        options.devices = devices;
        options.durationSeconds = kDuration;
        options.stepMs = kStepMs;
        options.csvFile = (folder / csv).string();
        options.logFolder = folder.string() + "/";
        const auto start = std::chrono::steady_clock::now();
        AcquisitionResult result = vexa::host::acquireAndReport(options);
        wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return result;
    }
    // The wall time of a run of the healthy device alone, measured once.
    double baseline() {
        static std::once_flag once;
        static double seconds = 0;
        std::call_once(once, [this] {
            const Simulator healthy(healthyDevice());
            run({"127.0.0.1:" + std::to_string(healthy.port())}, "baseline.csv", seconds);
        });
        return seconds;
    }

    fs::path folder;
};

TEST_P(FaultMatrix, HealthyDeviceLosesNothingAndTheFaultyOneIsReportedAtMostOnce) {
    const FaultCase& fault = GetParam();
    const double alone = baseline();
    const Simulator faulty(faultyDevice(fault));
    const Simulator healthy(healthyDevice());
    double wall = 0;
    const AcquisitionResult result = run({"127.0.0.1:" + std::to_string(faulty.port()),
                                          "127.0.0.1:" + std::to_string(healthy.port())},
                                         "run.csv", wall);

    EXPECT_TRUE(result.good) << "every host call answers as it should";
    EXPECT_EQ(result.reports.size(), fault.reports) << ::testing::PrintToString(result.reports);
    EXPECT_EQ(result.lost, 0u) << "samples overwritten in the host's rings";
    std::string header;
    const auto rows = vexa::test::readRecordedCsv(folder / "run.csv", header);
    std::size_t lost = 0;
    for (std::size_t k = 0; k < 2; ++k) {
        const auto channel = rows.find("h" + std::to_string(k));
        ASSERT_NE(channel, rows.end()) << "nothing recorded of h" << k;
        std::string why;
        lost += healthySamplesLost(channel->second, k, why);
        EXPECT_EQ(why, "") << "h" << k;
    }
    const double recovery = wall - alone;
    const double bound = fault.timeouts * kReplyTimeout + fault.faultyExchanges * 1.0;
    EXPECT_LE(recovery, bound) << "the run took " << wall << " s, alone " << alone << " s";
    std::printf("| %s | %.2f s | %zu | %zu |\n", fault.name, recovery, lost, result.reports.size());
    std::fflush(stdout);
}

[[maybe_unused]] void stall(SimConfig& config) { config.faults.stallAfter = 0; }
[[maybe_unused]] void hangUp(SimConfig& config) { config.faults.closeAfter = 0; }
[[maybe_unused]] void shortReplies(SimConfig& config) { config.faults.shortReplies = true; }
[[maybe_unused]] void longReplies(SimConfig& config) { config.faults.longReplies = true; }
[[maybe_unused]] void oversized(SimConfig& config) { config.faults.oversizedLength = true; }
void trickle(SimConfig& config) { config.faults.tricklePiece = 5; }

// Faults against the points of a session where they can strike. The
// native build runs them all; the Windows build, where every run also
// loads the module under wine, the ones that reach each way out.
const FaultCase kCases[] = {
#ifndef _WIN32
    {"short_identify", Phase::Identify, shortReplies, 0, 0, 1},
    {"oversized_identify", Phase::Identify, oversized, 0, 0, 1},
    {"stall_identify", Phase::Identify, stall, 0, 1, 1},
    {"hangup_identify", Phase::Identify, hangUp, 0, 0, 1},
    {"trickle_identify", Phase::Identify, trickle, 0, 0, 1},
    {"short_channels", Phase::Channels, shortReplies, 1, 1, 1},
    {"oversized_channels", Phase::Channels, oversized, 0, 0, 1},
    {"stall_channels", Phase::Channels, stall, 1, 1, 1},
    {"hangup_channels", Phase::Channels, hangUp, 1, 0, 1},
    {"trickle_channels", Phase::Channels, trickle, 0, 0, 1},
    {"short_start", Phase::Start, shortReplies, 0, 0, 1},
    {"long_start", Phase::Start, longReplies, 0, 0, 1},
    {"hangup_start", Phase::Start, hangUp, 1, 0, 1},
    {"trickle_start", Phase::Start, trickle, 0, 0, 1},
    {"short_data", Phase::Data, shortReplies, 0, 0, 1},
    {"long_data", Phase::Data, longReplies, 0, 0, 1},
    {"badstatus_data", Phase::Data, [](SimConfig& c) { c.faults.badStatusEvery = 3; }, 0, 0, 1},
    {"hangup_data", Phase::Data, [](SimConfig& c) { c.faults.closeAfter = 4; }, 1, 0, 1},
    {"short_stop", Phase::Stop, shortReplies, 0, 0, 1},
    {"long_stop", Phase::Stop, longReplies, 0, 0, 1},
    {"hangup_stop", Phase::Stop, hangUp, 1, 0, 1},
    {"trickle_stop", Phase::Stop, trickle, 0, 0, 1},
#endif
    {"refuse_start", Phase::Start, [](SimConfig& c) { c.faults.refuseRun = true; }, 0, 0, 1},
    {"stall_start", Phase::Start, stall, 1, 1, 1},
    // Without channels the RUN line has no line feed, and a device that
    // reads lines waits for one.
    {"nochannels_start", Phase::Start, [](SimConfig& c) { c.channels.clear(); }, 1, 1, 1},
    {"stall_data", Phase::Data, [](SimConfig& c) { c.faults.stallAfter = 4; }, 1, 1, 1},
    {"midblock_data", Phase::Data, [](SimConfig& c) { c.faults.closeMidBlock = true; }, 1, 0, 1},
    {"trickle_data", Phase::Data, trickle, 0, 0, 12},
    // Blocks that keep coming, too slowly ever to end: 10 kHz of records
    // at 2.5 kB/s. The reply's deadline ends the exchange.
    {"crawl_blocks", Phase::Blocks, [](SimConfig& c) { c.sampleRate = 10'000; trickle(c); }, 1, 1, 1},
    {"refuse_stop", Phase::Stop, [](SimConfig& c) { c.faults.refuseStop = true; }, 0, 0, 1},
    {"stall_stop", Phase::Stop, stall, 1, 1, 1},
};

INSTANTIATE_TEST_SUITE_P(EveryFaultAndPhase, FaultMatrix, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FaultCase>& param) { return std::string(param.param.name); });

}  // namespace
