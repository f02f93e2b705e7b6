// The plug-in module driven by slot number against a host made of raw slot
// tables: every host call must land on the number the host gives it.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "host/plugin_driver.h"
#include "host/plugin_module.h"
#include "platform/variant.h"
#include "contract/plugin_interfaces.h"
#include "raw_host.h"
#include "sim/simulator.h"

namespace {

using raw::callSlot;
using raw::describe;
using vexa::ComPtr;
using vexa::Variant;

// The host's slots of the plug-in interfaces.
constexpr int initializeSlot = 7, startSlot = 8, stopSlot = 9, readDataSlot = 12, newSetupSlot = 18;
constexpr int processEventSlot = 7;

const vexa::host::PluginModule& module() {
    static const vexa::host::PluginModule loaded(vexa::host::PluginModule::besideProgram());
    return loaded;
}

class PluginHostCalls : public ::testing::Test {
protected:
    PluginHostCalls() {
        IUnknown* object = module().createPlugin().release();
        void* found = nullptr;
        object->QueryInterface(vexa::interfaceId<IPlugin3>(), &found);
        plugin = static_cast<IUnknown*>(found);
        object->QueryInterface(vexa::interfaceId<IPlugin4>(), &found);
        events = static_cast<IUnknown*>(found);
        object->Release();
    }
    ~PluginHostCalls() override { releasePlugin(); }

    void releasePlugin() {
        if (events != nullptr) std::exchange(events, nullptr)->Release();
        if (plugin != nullptr) std::exchange(plugin, nullptr)->Release();
    }

    HRESULT initialize() {
        const HRESULT answer = callSlot(plugin, initializeSlot, host.app());
        host.take();
        return answer;
    }

    HRESULT event(LONG id, VARIANT* argument, VARIANT* result) {
        return callSlot(events, processEventSlot, id, argument, result);
    }

    HRESULT settingsEvent(bool saving) {
        Variant argument = vexa::host::PluginDriver::documentArgument(
            HostEvent::SettingsDocument, host["document"].as<HostXmlDocument>(),
            host["element"].as<HostXmlElement>(), saving);
        Variant result;
        return event(HostEvent::SettingsDocument, argument.get(), result.get());
    }

    // The order in which the named objects were let go for the last time.
    std::vector<std::string> lastReleases(const std::vector<std::string>& names) const {
        std::vector<std::string> order;
        for (const std::string& name : host.finalReleases()) {
            if (std::find(names.begin(), names.end(), name) == names.end()) continue;
            std::erase(order, name);
            order.push_back(name);
        }
        return order;
    }

    raw::RawHost host;
    IUnknown* plugin = nullptr;
    IUnknown* events = nullptr;
};

TEST_F(PluginHostCalls, InitializeWalksTheHostChainAndAsksForTheFolderAndVersion) {
    EXPECT_EQ(callSlot(plugin, initializeSlot, host.app()), S_OK);
    EXPECT_EQ(describe(host.take()), "app: 7; data: 7; model: 8; app: 146 161");

    host.servicePack = 3;
    EXPECT_EQ(callSlot(plugin, initializeSlot, host.app()), E_ABORT);
    EXPECT_EQ(describe(host.take()), "app: 7; data: 7; model: 8; app: 146 161 84")
        << "a host too old hears why";
}

TEST_F(PluginHostCalls, DocumentEventsReadTheModeAndTheDocument) {
    ASSERT_EQ(initialize(), S_OK);
    ASSERT_EQ(settingsEvent(false), S_OK);
    EXPECT_EQ(describe(host.take()), "app: 57; document: 20 19; element: 11");

    host.hostMode = 2;
    ASSERT_EQ(settingsEvent(false), S_OK);
    EXPECT_EQ(describe(host.take()), "app: 57") << "in this mode the documents are left alone";
}

TEST_F(PluginHostCalls, ADataStepAsksTheClockAndAlignsTheBuffers) {
    ASSERT_EQ(initialize(), S_OK);
    ASSERT_EQ(callSlot(plugin, readDataSlot), S_OK);
    EXPECT_EQ(describe(host.take()), "app: 59; clock: 7; app: 7; data: 10 11");
}

TEST_F(PluginHostCalls, TheSettingsWindowsToolkitCallsLandAtTheirNumbers) {
    ASSERT_EQ(initialize(), S_OK);
    Variant argument = Variant::ofUnknown(host["settingsWindow"].unknown());
    Variant result;
    ASSERT_EQ(event(HostEvent::CreateSettingsWindow, argument.get(), result.get()), S_OK);
    // Load the markup, find three controls, add the two click handlers, then
    // the grid's cell action, properties and input handlers, its size, four
    // columns, no sorting, and apply.
    EXPECT_EQ(describe(host.take()), "settingsWindow: 19 18 18 18; addDeviceButton: 18; removeDeviceButton: 18; "
                                     "deviceNVDrawGrid: 35 27 39 16 17 17 17 17 20 18");
}

// A device from the settings document, its channels made by a new setup and
// one data step that writes a record into them.
class PluginHostCallsWithDevice : public PluginHostCalls {
protected:
    PluginHostCallsWithDevice() {
        vexa::sim::SimConfig config;
        config.channels = {{"Engine/Speed", "rpm"}};
        config.sampleRate = 100.0;
        config.clock = [this] { return deviceSeconds.load(); };
        simulator = std::make_unique<vexa::sim::Simulator>(config);
        host.devicePort = std::to_string(simulator->port());
    }

    std::atomic<double> deviceSeconds{0.0};
    std::unique_ptr<vexa::sim::Simulator> simulator;
};

TEST_F(PluginHostCallsWithDevice, ChannelsAreMadeConfiguredAndFilledAtTheirNumbers) {
    ASSERT_EQ(initialize(), S_OK);
    ASSERT_EQ(settingsEvent(false), S_OK);
    EXPECT_EQ(describe(host.take()), "app: 57; document: 20 19; element: 11; devices: 13 13 12; device: 22; document: 19 17 17 17");
    Variant argument, result;
    ASSERT_EQ(event(HostEvent::Reconfigure, argument.get(), result.get()), S_FALSE);
    host.take();

    ASSERT_EQ(callSlot(plugin, newSetupSlot), S_OK);
    // Made, typed, used; attached (name, unit, colour, properties); its way
    // into the host chosen; the palette colour; then the device's name and
    // unit through the automatic updates.
    EXPECT_EQ(describe(host.take()),
              "group: 18; channel0: 89 108 109 23; app: 7; data: 58; channel0: 20 43 52 188; app: 111; "
              "channel0: 22 52; app: 7; data: 58; channel0: 19 20 42 43 47 51; app: 7; data: 58");
    EXPECT_EQ(host.channel("channel0").name, "Speed");
    EXPECT_EQ(host.channel("channel0").unit, "rpm");
    EXPECT_EQ(host.channel("channel0").flags.at(23), VARIANT_TRUE) << "the channel is used";

    ASSERT_EQ(callSlot(plugin, startSlot), S_OK);
    host.take();
    deviceSeconds = 0.05;
    host.hostTime = 10.0;
    ASSERT_EQ(callSlot(plugin, readDataSlot), S_OK);
    // Five records: each value checks the channel is used, then writes
    // value and time at the write position and advances it.
    std::string perValue;
    for (int record = 0; record < 5; ++record) perValue += " 22 30 12 184 185 71";
    EXPECT_EQ(describe(host.take()), "app: 59; clock: 7; channel0:" + perValue + "; app: 7; data: 10 11; channel0: 29 98 31");
    EXPECT_EQ(host.channel("channel0").position, 5);
    ASSERT_EQ(callSlot(plugin, stopSlot), S_OK);
}

TEST_F(PluginHostCallsWithDevice, ReleaseDropsTheWindowsFirstThenTheChannelsThenTheHost) {
    ASSERT_EQ(initialize(), S_OK);
    ASSERT_EQ(settingsEvent(false), S_OK);
    Variant none, result;
    ASSERT_EQ(event(HostEvent::Reconfigure, none.get(), result.get()), S_FALSE);
    ASSERT_EQ(callSlot(plugin, newSetupSlot), S_OK);
    for (const auto& [id, window] : {std::pair{HostEvent::CreateSetupWindow, "setupWindow"},
                                     std::pair{HostEvent::CreateSettingsWindow, "settingsWindow"},
                                     std::pair{HostEvent::CreateAnalysisWindow, "analysisWindow"}}) {
        Variant argument = Variant::ofUnknown(host[window].unknown());
        ASSERT_EQ(event(id, argument.get(), result.get()), S_OK) << window;
    }

    releasePlugin();
    EXPECT_EQ(lastReleases({"setupWindow", "settingsWindow", "analysisWindow", "channel0", "group", "app"}),
              (std::vector<std::string>{"analysisWindow", "settingsWindow", "setupWindow", "channel0",
                                        "group", "app"}));
    EXPECT_TRUE(host.faults().empty());
}

}  // namespace
