// The device list through settings documents: what is written, and a read
// that replaces the list and connects every stored device.
#include <chrono>

#include "serialization/xml_exception.h"
#include "sim/simulator.h"
#include "support/storage_fixture.h"

namespace storage_test {
namespace {

using namespace std::chrono_literals;
using Nerova::Utils::Serialization::XmlException;
using Nerova::Utils::Serialization::XmlExceptionCode;
using vexa::sim::SimConfig;
using vexa::sim::Simulator;

std::string settingsFor(const std::vector<std::pair<std::string, std::string>>& devices) {
    std::string text = "<Settings><VexaDevicesSettings>";
    for (const auto& [address, port] : devices) {
        text += "<VexaDeviceSettings><IpAddress>" + address + "</IpAddress><PortNumber>" + port +
                "</PortNumber><DeviceName>Stored name</DeviceName></VexaDeviceSettings>";
    }
    return text + "</VexaDevicesSettings></Settings>";
}

// A loopback port nobody listens on any more: connecting is refused at once.
std::uint16_t refusingPort() {
    Simulator closed{SimConfig{}};
    return closed.port();
}

class SettingsStorage : public StorageTest {
protected:
    void readSettings(const std::string& text) {
        core.serializeSettings(*rootOf(XmlDocumentObject::parse(text), false));
    }
};

TEST_F(SettingsStorage, WritesEveryDeviceInListOrder) {
    core.devices.add("127.0.0.3", 6001);
    core.devices.addDefaultDevice();
    auto document = XmlDocumentObject::create("Settings");
    core.serializeSettings(*rootOf(document, true));

    const auto stored = document->root().findChild("VexaDevicesSettings")->childrenNamed("VexaDeviceSettings");
    ASSERT_EQ(stored.size(), 2u);
    const std::vector<std::vector<std::string>> expected = {{"127.0.0.3", "6001", "Unknown Vexa device"},
                                                            {"127.0.0.1", "5963", "Unknown Vexa device"}};
    for (std::size_t i = 0; i < stored.size(); ++i) {
        std::vector<std::string> names, texts;
        for (const auto& value : stored[i]->children()) {
            names.push_back(value->name());
            texts.push_back(value->text());
        }
        EXPECT_EQ(names, (std::vector<std::string>{"IpAddress", "PortNumber", "DeviceName"}));
        EXPECT_EQ(texts, expected[i]);
    }
}

TEST_F(SettingsStorage, ReadingReplacesTheListAndConnectsEveryStoredDevice) {
    SimConfig config;
    config.name = "Bench rig 7";
    Simulator sim(config);
    const std::string unreachable = std::to_string(refusingPort());
    auto heldByAWindow = core.devices.add("127.0.0.2", 5963);

    readSettings(settingsFor({{"127.0.0.1", std::to_string(sim.port())}, {"127.0.0.1", unreachable}}));

    ASSERT_EQ(core.devices.size(), 2u);
    EXPECT_FALSE(core.devices.contains("127.0.0.2", 5963));
    EXPECT_EQ(heldByAWindow->deviceInfo()->ipAddress, "127.0.0.2") << "lives on while held";
    const DeviceInfo& reached = *(*core.devices.begin())->deviceInfo();
    EXPECT_TRUE(reached.connected);
    EXPECT_EQ(reached.name, "Bench rig 7") << "the device's own name replaces the stored one";
    const DeviceInfo& refused = *(*(core.devices.begin() + 1))->deviceInfo();
    EXPECT_FALSE(refused.connected) << "kept in the list for the user to see";
    EXPECT_EQ(refused.name, "Unknown Vexa device");
    EXPECT_EQ(refused.port, static_cast<std::uint32_t>(std::stoul(unreachable)));
    EXPECT_NE(log().find("VexaDevice::openConnection"), std::string::npos) << log();
}

TEST_F(SettingsStorage, WhatASettingsReadMakesOfIncompleteOrBadValues) {
    core.devices.addDefaultDevice();
    readSettings("<Settings/>");
    EXPECT_TRUE(core.devices.empty());

    // Missing values give an empty address and port 0; neither connects.
    readSettings("<Settings><VexaDevicesSettings><VexaDeviceSettings/></VexaDevicesSettings></Settings>");
    ASSERT_EQ(core.devices.size(), 1u);
    EXPECT_TRUE(core.devices.contains("", 0));
    EXPECT_FALSE((*core.devices.begin())->deviceInfo()->connected);

    for (const auto& [port, code] : {std::pair{"many", XmlExceptionCode::WrongType},
                                     std::pair{"-1", XmlExceptionCode::OutOfRange},
                                     std::pair{"4294967296", XmlExceptionCode::OutOfRange}}) {
        try {
            readSettings(settingsFor({{"127.0.0.2", port}}));
            ADD_FAILURE() << port << " was taken as a port";
        } catch (const XmlException& error) {
            EXPECT_EQ(error.code(), code) << port;
        }
    }
}

TEST(DeviceListEditing, ContainsComparesTheAddressAsTypedAndErasingKeepsHeldDevices) {
    DeviceList devices(nullptr);
    auto first = devices.addDefaultDevice();
    devices.add("LocalHost", 6000);
    EXPECT_TRUE(devices.contains("127.0.0.1", 5963));
    EXPECT_FALSE(devices.contains("127.0.0.1", 6000));
    EXPECT_TRUE(devices.contains("LocalHost", 6000));
    EXPECT_FALSE(devices.contains("localhost", 6000));
    EXPECT_FALSE(devices.contains("127.0.0.01", 5963));

    devices.eraseAt(0);
    EXPECT_EQ(devices.size(), 1u);
    EXPECT_FALSE(devices.contains("127.0.0.1", 5963));
    EXPECT_EQ(first->deviceInfo()->port, 5963u);
    EXPECT_THROW(devices.eraseAt(1), std::out_of_range);
}

}  // namespace
}  // namespace storage_test
