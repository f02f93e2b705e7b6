// The plug-in's data step in one process: the reference host's objects, the
// plug-in's shared state and simulated devices over loopback, on a device
// clock the test sets. Many steps of several devices allocate nothing; a
// backlog above the memory bound is dropped, reported once, and the device
// reads on.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <vector>

#include "device/vexa_device.h"
#include "log/logging_internal.h"
#include "output/output_channel.h"
#include "plugin/plugin_core.h"
#include "sim/simulator.h"
#include "support/allocation_watch.h"
#include "support/temp_file.h"
#include "support/test_host.h"

namespace {

using namespace std::chrono_literals;
using vexa::sim::SimConfig;
using vexa::sim::Simulator;

class DataStep : public ::testing::Test {
protected:
    DataStep() {
        resetLoggingForTests();
        host.app->setLogFolder((std::filesystem::path(log_.path()).parent_path() / "").string());
        host.app->setEchoReports(false);
        core.bindHost(vexa::host::asInterface<HostApp>(host.app));
    }
    ~DataStep() override { resetLoggingForTests(); }

    // A device of `channels` channels at `rate` records per second.
    Simulator& simulate(std::size_t channels, double rate) {
        SimConfig config;
        config.channels.clear();
        for (std::size_t k = 0; k < channels; ++k) config.channels.push_back({"Rig/Channel " + std::to_string(k), "V"});
        config.sampleRate = rate;
        config.clock = [this] { return now.load(); };
        return *simulators.emplace_back(std::make_unique<Simulator>(config));
    }
    // Every simulated device connected, its channels on host channels, and
    // the acquisition started at device time 0.
    void start() {
        for (const auto& sim : simulators) {
            auto device = core.devices.add("127.0.0.1", sim->port());
            device->setReplyTimeout(2s);
            ASSERT_TRUE(device->openConnection());
        }
        core.reconfigure();
        for (const auto& device : core.devices) {
            for (const auto& channel : device->channelTable().allChannels()) channel->createOutput(~0u);
        }
        core.prepareAcquisition();
        core.startAcquisition();
    }
    // One data step `seconds` of device and host time after the last.
    void step(double seconds) {
        now = now + seconds;
        hostTime += seconds;
        host.app->clock()->setTime(hostTime);
        core.readData();
    }
    std::uint64_t samplesOf(const VexaDevice& device, std::size_t k) const {
        const auto& output = device.channelTable().allChannels().at(k)->output();
        return host.group->findById(static_cast<LONG>(output->getKey()))->samplesWritten();
    }

    std::atomic<double> now{0.0};
    double hostTime = 100.0;
    vexa::test::TempFile log_{"VexaLog.txt"};
    vexa::host::TestHost host;
    PluginCore core;
    std::vector<std::unique_ptr<Simulator>> simulators;
};

TEST_F(DataStep, ManyStepsOfSeveralDevicesAllocateNothingInThePlugin) {
    simulate(32, 10'000);
    simulate(4, 1'000);
    simulate(64, 2'000);
    // Rings the plug-in wraps around: the host's buffers never grow here.
    host.group->setBufferLength(1 << 12);
    start();
    for (int i = 0; i < 5; ++i) step(0.01);  // the first blocks size the storage

    constexpr int kSteps = 300;
    {
        const AllocationWatch watch;
        for (int i = 0; i < kSteps; ++i) step(0.01);
        EXPECT_EQ(watch.count(), 0u) << "the largest was " << watch.largest() << " bytes";
    }
    EXPECT_TRUE(host.app->reportedErrors().empty());
    const std::vector<std::uint64_t> expected = {100 * 305, 10 * 305, 20 * 305};
    for (std::size_t d = 0; d < expected.size(); ++d) {
        const VexaDevice& device = *core.devices.begin()[static_cast<std::ptrdiff_t>(d)];
        EXPECT_EQ(samplesOf(device, 0), expected[d]) << "device " << d;
        EXPECT_EQ(samplesOf(device, device.channelTable().channelCount() - 1), expected[d]) << "device " << d;
    }
}

TEST_F(DataStep, ABacklogAboveTheMemoryBoundIsReportedOnceAndTheDeviceReadsOn) {
    simulate(8, 10'000);
    start();
    VexaDevice& device = **core.devices.begin();
    // 200 records of 52 bytes need 20 799 bytes of room.
    device.setBlockMemoryBound(20'000);
    step(0.02);
    ASSERT_EQ(host.app->reportedErrors().size(), 1u);
    EXPECT_NE(host.app->reportedErrors()[0].find(": 200 records"), std::string::npos) << host.app->reportedErrors()[0];
    EXPECT_TRUE(device.deviceInfo()->connected);
    EXPECT_EQ(samplesOf(device, 0), 0u);

    step(0.01);
    step(0.01);
    EXPECT_EQ(host.app->reportedErrors().size(), 1u);
    EXPECT_EQ(samplesOf(device, 0), 200u) << "the next blocks arrive whole";
    core.stopAcquisition();
    EXPECT_EQ(device.blockStorage(), 0u) << "the storage goes with the acquisition";
}

}  // namespace
