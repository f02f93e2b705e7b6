// The loaded plug-in module through the host's document events: settings
// and setup saved by one plug-in and read back into a fresh one, with real
// devices (simulated, on loopback) on the other side.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "host/objects/host_app_object.h"
#include "host/objects/host_object.h"
#include "host/objects/xml_document.h"
#include "host/plugin_driver.h"
#include "host/plugin_module.h"
#include "contract/plugin_interfaces.h"
#include "sim/simulator.h"
#include "support/plugin_test_support.h"

namespace {

using namespace plugin_test;
using vexa::sim::SimConfig;
using vexa::sim::Simulator;

// One host with one plug-in object on it.
struct HostSession {
    HostSession() {
        app->setEchoReports(false);
        EXPECT_EQ(plugin.initialize(app.get()), S_OK);
    }

    HRESULT documentEvent(HostEventId id, const ComPtr<XmlDocumentObject>& document, bool saving) const {
        ComPtr<XmlElementObject> root{&document->root()};
        Variant result;
        return plugin.documentEvent(id, document.get(), root.get(), saving, result);
    }
    // Reads the channel lists of the connected devices; the host's answer
    // is S_FALSE whatever was read.
    HRESULT reconfigure() const {
        Variant result;
        return plugin.event(HostEvent::Reconfigure, result);
    }
    // Host channel name by the identifier the plug-in created it with.
    std::map<LONG, std::string> hostChannels() const {
        std::map<LONG, std::string> names;
        for (const auto& channel : app->dataObject()->group().channels())
            names[channel->settings().id] = channel->settings().name;
        return names;
    }

    ComPtr<HostAppObject> app = vexa::host::makeHostObject<HostAppObject>();
    PluginDriver plugin{loadedModule().createPlugin()};
};

std::vector<XmlElementObject*> storedChannels(const XmlDocumentObject& setup) {
    std::vector<XmlElementObject*> channels;
    const XmlElementObject* devices = setup.root().findChild("VexaDevicesSetup");
    if (devices == nullptr) return channels;
    for (const auto* device : devices->childrenNamed("VexaDeviceSetup")) {
        for (auto* channel : device->findChild("VexaChannels")->childrenNamed("Channel")) channels.push_back(channel);
    }
    return channels;
}

std::vector<std::string> valuesOf(const std::vector<XmlElementObject*>& elements, const char* name) {
    std::vector<std::string> values;
    for (const auto* element : elements) {
        const XmlElementObject* value = element->findChild(name);
        values.push_back(value == nullptr ? "<none>" : value->text());
    }
    return values;
}

TEST(PluginDocuments, SettingsAndSetupCarryDevicesAndBindingsIntoAFreshPlugin) {
    SimConfig rigA;
    rigA.name = "Rig A";
    SimConfig rigB;
    rigB.name = "Rig B";
    rigB.channels = {{"Oil/Pressure", "bar"}, {"Flow", "l/min"}};
    Simulator simA(rigA);
    Simulator simB(rigB);

    std::string settingsText;
    std::string setupText;
    std::vector<std::string> savedKeys;
    std::map<LONG, std::string> firstHostChannels;
    {
        HostSession first;
        const auto stored = [](const Simulator& sim) {
            return "<VexaDeviceSettings><IpAddress>127.0.0.1</IpAddress><PortNumber>" + std::to_string(sim.port()) +
                   "</PortNumber><DeviceName>old</DeviceName></VexaDeviceSettings>";
        };
        auto settings = XmlDocumentObject::parse("<Settings><VexaDevicesSettings>" + stored(simA) + stored(simB) +
                                                 "</VexaDevicesSettings></Settings>");
        ASSERT_EQ(first.documentEvent(HostEvent::SettingsDocument, settings, false), S_OK);
        ASSERT_EQ(first.reconfigure(), S_FALSE);
        ASSERT_EQ(first.plugin.newSetup(), S_OK);

        auto savedSettings = XmlDocumentObject::create("Settings");
        ASSERT_EQ(first.documentEvent(HostEvent::SettingsDocument, savedSettings, true), S_OK);
        const auto devices = savedSettings->root().findChild("VexaDevicesSettings")->children();
        EXPECT_EQ(valuesOf({devices[0].get(), devices[1].get()}, "DeviceName"),
                  (std::vector<std::string>{"Rig A", "Rig B"}))
            << "both devices were connected and identified";

        auto setup = XmlDocumentObject::create("Setup");
        ASSERT_EQ(first.documentEvent(HostEvent::SetupDocument, setup, true), S_OK);
        const auto channels = storedChannels(*setup);
        ASSERT_EQ(channels.size(), 5u);
        savedKeys = valuesOf(channels, "NvChannelId");
        // The user renamed the first channel of the second device.
        channels[3]->findChild("VexaNvChannelName")->setText("Oil pressure");

        settingsText = savedSettings->toText();
        setupText = setup->toText();
        firstHostChannels = first.hostChannels();
    }

    HostSession second;
    ASSERT_EQ(second.documentEvent(HostEvent::SettingsDocument, XmlDocumentObject::parse(settingsText), false), S_OK);
    ASSERT_EQ(second.reconfigure(), S_FALSE);
    ASSERT_EQ(second.documentEvent(HostEvent::SetupDocument, XmlDocumentObject::parse(setupText), false), S_OK);

    auto resaved = XmlDocumentObject::create("Setup");
    ASSERT_EQ(second.documentEvent(HostEvent::SetupDocument, resaved, true), S_OK);
    EXPECT_EQ(valuesOf(storedChannels(*resaved), "NvChannelId"), savedKeys) << "every channel kept its output";

    auto expectedHostChannels = firstHostChannels;
    const LONG renamedKey = std::stol(savedKeys[3]);
    expectedHostChannels[renamedKey] = "Oil pressure";
    EXPECT_EQ(second.hostChannels(), expectedHostChannels);
}

}  // namespace
