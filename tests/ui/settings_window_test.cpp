// The settings window in the reference host's toolkit, driven by scripted
// user actions over the plug-in's real device list.
#include <gtest/gtest.h>

#include "device/device_list.h"
#include "ui/settings_window.h"
#include "window_fixture.h"

namespace window_test {
namespace {

constexpr char kGrid[] = "deviceNVDrawGrid";

class SettingsWindowTest : public WindowTest {
protected:
    std::unique_ptr<SettingsWindow> open() {
        auto settings = std::make_unique<SettingsWindow>(window(), core.devices);
        host->open();
        return settings;
    }
    std::vector<std::string> row(Nerova::Kite::Int r) const {
        std::vector<std::string> texts;
        for (int c = 0; c < 4; ++c) texts.push_back(grid(kGrid).cellText(r, c));
        return texts;
    }
    const DeviceInfo& info(std::size_t k) { return *(core.devices.begin() + k)->get()->deviceInfo(); }
};

TEST_F(SettingsWindowTest, ShowsTheFourDeviceColumnsAndANewDeviceAsTheUsualLocalOne) {
    const auto settings = open();
    const kite::DrawGrid& devices = grid(kGrid);
    EXPECT_EQ(devices.rowCount(), 1);
    EXPECT_EQ(columnsOf(devices), (std::vector<std::string>{"0 GridColumnIp Device IP EditableText 90",
                                                            "1 GridColumnPort Port EditableText 60",
                                                            "2 GridColumnDeviceName Device name Text 290",
                                                            "3 Connection Connection Button 110"}));
    kite::Json json;
    devices.writeJson(json);
    EXPECT_EQ(json["sortable"], false);

    EXPECT_EQ(kite::click(*host, "addDeviceButton"), kOk);
    ASSERT_EQ(core.devices.size(), 1u);
    EXPECT_EQ(devices.rowCount(), 2);
    EXPECT_EQ(row(1), (std::vector<std::string>{"127.0.0.1", "5963", "Unknown Vexa device", "Connect"}));
    EXPECT_FALSE(info(0).connected) << "adding does not connect";
}

TEST_F(SettingsWindowTest, APortEditWithinTheRangeAndFreeConnectsTheDevice) {
    auto other = addDevice("127.0.0.1", 5965, 0);
    auto device = addDevice("127.0.0.1", 5963, 0);
    const auto settings = open();
    const struct {
        const char* text;
        ErrCode status;
        std::uint32_t port;
    } cases[] = {
        {"5968", kOk, 5963},          {"5962", kOk, 5963},
        {"5963", kOk, 5963},          {"5965", kOk, 5963},  // its own pair, another device's pair
        {"abc", kGeneralError, 5963}, {"99999999999", kGeneralError, 5963},
        {"", kGeneralError, 5963},    {" 5964abc", kOk, 5964},
        {"+5967", kOk, 5967},
    };
    for (const auto& c : cases) {
        device->deviceInfo()->port = 5963;
        makeReachable(*device);
        connects->clear();
        EXPECT_EQ(kite::editCell(*host, kGrid, 2, 1, c.text), c.status) << c.text;
        EXPECT_EQ(device->deviceInfo()->port, c.port) << c.text;
        const bool accepted = c.port != 5963;
        EXPECT_EQ(*connects, accepted ? std::vector<std::string>{"127.0.0.1:" + std::to_string(c.port)}
                                      : std::vector<std::string>{})
            << c.text;
        EXPECT_EQ(row(2)[3], accepted ? "Disconnect" : "Connect") << c.text;
        device->closeConnection();
    }
    EXPECT_EQ(other->deviceInfo()->port, 5965u);
}

TEST_F(SettingsWindowTest, AnAddressEditMustBeAnAddressLongerThanThreeAndFree) {
    addDevice("127.0.0.5", 5963, 0);
    auto device = addDevice("127.0.0.1", 5963, 0);
    makeUnreachable(*device);
    const auto settings = open();
    const struct {
        const char* text;
        const char* address;
    } cases[] = {
        {"1.2", "127.0.0.1"},        {"1.2.3", "127.0.0.1"},     {"127.0.0.300", "127.0.0.1"},
        {"127.0.0.5", "127.0.0.1"},  // another device's pair
        {"127.0.0.1", "127.0.0.1"},  // its own
        {"localhost", "localhost"},  {"127.0.0.9", "127.0.0.9"},
    };
    for (const auto& c : cases) {
        device->deviceInfo()->ipAddress = "127.0.0.1";
        connects->clear();
        EXPECT_EQ(kite::editCell(*host, kGrid, 2, 0, c.text), kOk) << c.text;
        EXPECT_EQ(device->deviceInfo()->ipAddress, c.address) << c.text;
        EXPECT_EQ(connects->size(), std::string(c.address) != "127.0.0.1" ? 1u : 0u) << c.text;
    }
    // A refused connect leaves the device as the grid shows it.
    EXPECT_EQ(row(2), (std::vector<std::string>{"127.0.0.9", "5963", "Unknown Vexa device", "Connect"}));
}

TEST_F(SettingsWindowTest, TheConnectionButtonConnectsAndDisconnects) {
    auto device = addDevice("127.0.0.1", 5963, 0);
    makeReachable(*device, "Vexa one");
    const auto settings = open();
    EXPECT_EQ(kite::pressCell(*host, kGrid, 1, 3), kOk);
    EXPECT_EQ(row(1), (std::vector<std::string>{"127.0.0.1", "5963", "Vexa one", "Disconnect"}));
    EXPECT_EQ(kite::pressCell(*host, kGrid, 1, 3), kOk);
    EXPECT_EQ(row(1), (std::vector<std::string>{"127.0.0.1", "5963", "Unknown Vexa device", "Connect"}));
    EXPECT_EQ(connects->size(), 1u);
}

TEST_F(SettingsWindowTest, RemoveErasesTheSelectedRowsDevices) {
    for (std::uint32_t port : {5963u, 5964u, 5965u}) addDevice("127.0.0.1", port, 0);
    const auto settings = open();
    EXPECT_EQ(kite::click(*host, "removeDeviceButton"), kOk);
    EXPECT_EQ(core.devices.size(), 3u) << "nothing selected";

    EXPECT_EQ(kite::selectRows(*host, kGrid, {1, 3}), kOk);
    EXPECT_EQ(kite::click(*host, "removeDeviceButton"), kOk);
    ASSERT_EQ(core.devices.size(), 1u);
    EXPECT_EQ(info(0).port, 5964u);
    EXPECT_EQ(grid(kGrid).rowCount(), 2);
    EXPECT_EQ(row(1)[1], "5964");
}

TEST_F(SettingsWindowTest, ADroppedWindowsHandlersDoNothing) {
    auto settings = open();
    settings.reset();
    EXPECT_EQ(kite::click(*host, "addDeviceButton"), kOk);
    EXPECT_EQ(core.devices.size(), 0u);
    EXPECT_EQ(grid(kGrid).rowCount(), 1);
}

TEST_F(SettingsWindowTest, NeedsAHostWindow) {
    try {
        SettingsWindow made(Nerova::Kite::WindowPtr(), core.devices);
        ADD_FAILURE() << "made without a window";
    } catch (const Nerova::RT::Core::InvalidParameterException& error) {
        EXPECT_STREQ(error.what(), "Window must not be null.");
    }
}

}  // namespace
}  // namespace window_test
