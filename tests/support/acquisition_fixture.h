// A reference host with an output factory, a log file, and simulated
// devices whose clock the test moves.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>

#include "device/vexa_device.h"
#include "output/output_channel.h"
#include "output/output_factory.h"
#include "log/logging.h"
#include "log/logging_internal.h"
#include "sim/simulator.h"
#include "support/temp_file.h"
#include "support/test_host.h"

namespace acquisition_test {

using namespace std::chrono_literals;
using Nerova::Utils::Ncom::OutputChannel::OutputFactoryImpl;
using vexa::host::ChannelObject;
using vexa::sim::SimConfig;
using vexa::sim::Simulator;

class AcquisitionTest : public ::testing::Test {
protected:
    AcquisitionTest() {
        resetLoggingForTests();
        initLogging(log_.path());
        factory.setHost(vexa::host::asInterface<HostApp>(host.app), host.pluginId,
                        static_cast<HostChannelGroup*>(host.group.get()));
    }
    ~AcquisitionTest() override { resetLoggingForTests(); }

    // Records become due as the test moves `now` (seconds since the
    // simulator started).
    SimConfig simConfig() {
        SimConfig config;
        config.clock = [this] { return now.load(); };
        return config;
    }
    std::unique_ptr<Simulator> simulate(SimConfig config) { return std::make_unique<Simulator>(std::move(config)); }

    // Connected, with its channel list read and every channel bound to a
    // new output channel.
    std::shared_ptr<VexaDevice> deviceFor(const Simulator& sim) {
        auto device = VexaDevice::create("127.0.0.1", sim.port(), &factory);
        device->setReplyTimeout(300ms);
        EXPECT_TRUE(device->openConnection());
        device->readSystemConfig();
        for (const auto& channel : device->channelTable().channels("allChannels")) channel->createOutput(~0u);
        return device;
    }

    ChannelObject& hostOf(const VexaChannel& channel) {
        ChannelObject* found = host.group->findById(static_cast<LONG>(channel.output()->getKey()));
        if (found == nullptr) throw std::logic_error("no host channel");
        return *found;
    }
    ChannelObject& hostOf(const VexaDevice& device, std::size_t k) {
        return hostOf(*device.channelTable().channels("allChannels").at(k));
    }

    // What the simulator sends for channel `k` in record number `sequence`
    // after a RUN at simulator time 0, as the host receives it.
    static double simulatedValue(std::size_t k, int sequence, double rate = 100.0) {
        return static_cast<double>(vexa::sim::channelValue(k, 1000.0 + sequence / rate));
    }

    std::string log() const { return log_.exists() ? log_.contents() : std::string(); }
    bool logged(const std::string& text) const { return log().find(text) != std::string::npos; }

    std::atomic<double> now{0.0};
    vexa::host::TestHost host;
    OutputFactoryImpl factory;
    vexa::test::TempFile log_{"VexaLog.txt"};
};

}  // namespace acquisition_test
