// The acquisition events of the plug-in's shared state, from the host's
// calls to the host's channel buffers.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>

#include "device/vexa_device.h"
#include "host/kite/toolkit.h"
#include "output/output_channel.h"
#include "log/logging_internal.h"
#include "plugin/plugin_core.h"
#include "sim/simulator.h"
#include "support/temp_file.h"
#include "support/test_host.h"
#include "ui/setup_window.h"

using namespace std::chrono_literals;
using vexa::sim::SimConfig;
using vexa::sim::Simulator;

namespace {

class PluginCoreAcquisition : public ::testing::Test {
protected:
    PluginCoreAcquisition() {
        resetLoggingForTests();
        host.app->setLogFolder((std::filesystem::path(log_.path()).parent_path() / "").string());
        core.bindHost(vexa::host::asInterface<HostApp>(host.app));
    }
    ~PluginCoreAcquisition() override { resetLoggingForTests(); }

    SimConfig simConfig() {
        SimConfig config;
        config.clock = [this] { return now.load(); };
        return config;
    }
    std::shared_ptr<VexaDevice> addDevice(const Simulator& sim) {
        auto device = core.devices.add("127.0.0.1", sim.port());
        device->setReplyTimeout(300ms);
        EXPECT_TRUE(device->openConnection());
        return device;
    }
    // What a loaded setup will do: every channel gets an output channel.
    static void bindOutputs(VexaDevice& device) {
        for (const auto& channel : device.channelTable().channels("allChannels")) channel->createOutput(~0u);
    }
    std::uint64_t samplesOf(const VexaDevice& device, std::size_t k) const {
        const auto& output = device.channelTable().channels("allChannels").at(k)->output();
        return host.group->findById(static_cast<LONG>(output->getKey()))->samplesWritten();
    }
    void readDataAt(double hostTime, double simTime) {
        now = simTime;
        host.app->clock()->setTime(hostTime);
        core.readData();
    }

    std::atomic<double> now{0.0};
    vexa::test::TempFile log_{"VexaLog.txt"};
    vexa::host::TestHost host;
    PluginCore core;
};

}  // namespace

TEST_F(PluginCoreAcquisition, EveryDeviceAcquiresAndAFailingOneIsReportedOnceWhileTheOthersGoOn) {
    SimConfig brokenConfig = simConfig();
    brokenConfig.faults.closeMidBlock = true;
    Simulator broken(brokenConfig);
    Simulator healthy(simConfig());
    auto failing = addDevice(broken);
    auto working = addDevice(healthy);
    auto absent = core.devices.add("127.0.0.1", 5963);  // never connected

    core.reconfigure();
    EXPECT_EQ(working->channelTable().channelCount(), 3u);
    EXPECT_EQ(absent->channelTable().channelCount(), 0u);
    bindOutputs(*failing);
    bindOutputs(*working);

    core.prepareAcquisition();
    core.startAcquisition();
    readDataAt(2.0, 0.05);
    readDataAt(2.5, 0.1);
    core.stopAcquisition();

    for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(samplesOf(*working, k), 10u) << k;
    EXPECT_EQ(samplesOf(*failing, 0), 0u);
    EXPECT_EQ(host.app->reportedErrors(), (std::vector<std::string>{"Connection terminated by remote socket"}));
    EXPECT_FALSE(failing->deviceInfo()->connected);
    EXPECT_TRUE(working->deviceInfo()->connected);

    // The next acquisition starts its clocks afresh.
    const auto speed = working->channelTable().channels("allChannels")[0];
    EXPECT_GT(speed->latestTimestamp(), 0.0);
    core.prepareAcquisition();
    EXPECT_EQ(working->timeOrigin(), 0.0);
    EXPECT_EQ(speed->latestTimestamp(), 0.0);
    EXPECT_NE(speed->latestValue(), 0.0) << "the live value stays";

    core.unbindChannels();
    EXPECT_EQ(host.group->removals(), 6);
    EXPECT_FALSE(speed->output());
    EXPECT_TRUE(core.outputFactory.entries().empty());
}

// The setup window may hold the last reference to a device whose channels
// still have output channels: the windows go first, while the factory that
// removes those channels still stands (the sanitizer build would catch the
// opposite order).
TEST(PluginCoreWindows, ADeviceOnlyTheSetupWindowStillHoldsGoesBeforeTheOutputFactory) {
    vexa::kite::UiClock clock;
    auto window = vexa::kite::make<vexa::kite::Window>(clock);
    vexa::test::TempFile log{"VexaLog.txt"};
    vexa::host::TestHost host;
    {
        resetLoggingForTests();
        host.app->setLogFolder((std::filesystem::path(log.path()).parent_path() / "").string());
        PluginCore core;
        core.bindHost(vexa::host::asInterface<HostApp>(host.app));
        auto device = core.devices.add("127.0.0.1", 5963);
        device->channelTable().addChannel(1, "G/c1", "G", "c1", "c1", "V");
        device->channelTable().channels("allChannels")[0]->createOutput(~0u);
        core.setupWindow = std::make_unique<SetupWindow>(
            Nerova::Kite::WindowPtr(static_cast<Nerova::Kite::IWindow*>(window.get())), core.devices);
        core.devices.eraseAt(0);
        device.reset();
        EXPECT_EQ(host.group->removals(), 0);
    }
    EXPECT_EQ(host.group->removals(), 1) << "the factory removed the host channel";
    window->drop();
    resetLoggingForTests();
}
