// The setup window in the reference host's toolkit: tabs per device, the
// status labels, the channel grid and its live values, over the plug-in's
// real devices and output channels, with the toolkit's clock driving the
// timers.
#include <gtest/gtest.h>

#include "device/device_list.h"
#include "output/output_channel.h"
#include "ui/setup_window.h"
#include "window_fixture.h"

namespace window_test {
namespace {

using Nerova::Kite::Int;

constexpr char kGrid[] = "channelGrid";
constexpr char kTabs[] = "deviceSelectionTabControl";

class SetupWindowTest : public WindowTest {
protected:
    SetupWindowTest() {
        first = addDevice("127.0.0.2", 5963, 3);
        first->deviceInfo()->name = "Vexa A";
        second = addDevice("127.0.0.3", 5964, 1);
        for (const auto& channel : channelsOf(*first)) channel->createOutput(storage_test::kFreshKey);
    }

    std::unique_ptr<SetupWindow> open() {
        auto setup = std::make_unique<SetupWindow>(window(), core.devices);
        host->open();
        return setup;
    }
    kite::TabControl& tabs() const { return control<kite::TabControl>(kTabs); }
    const kite::Label& label(const char* name) const { return control<kite::Label>(name); }
    const kite::CellContent& cell(Int row, Int column) const { return grid(kGrid).cell(row, column); }
    VexaChannel& channel(std::size_t k) { return *channelsOf(*first).at(k); }

    std::shared_ptr<VexaDevice> first, second;
};

TEST_F(SetupWindowTest, ShowsATabPerDeviceTheFirstsChannelsAndStartsTwoTimers) {
    const auto setup = open();
    ASSERT_EQ(tabs().tabs().size(), 2u);
    EXPECT_EQ(tabs().tabs()[0].title, "Vexa A");
    EXPECT_EQ(tabs().tabs()[1].title, "Unknown Vexa device");
    EXPECT_TRUE(tabs().tabs()[1].selectable);
    EXPECT_EQ(tabs().selected(), 0);
    EXPECT_EQ(tabs().height, 25);
    EXPECT_FALSE(tabs().hidden);
    EXPECT_EQ(grid(kGrid).rowCount(), 4);
    EXPECT_EQ(columnsOf(grid(kGrid)),
              (std::vector<std::string>{"0 ID ID Number 50 fixed", "1 Used Used CheckBox 60",
                                        "2 Used Store CheckBox 60", "3 Color C ColorPick 20",
                                        "4 GroupName Group Text 220", "5 NameVexa Vexa name Text 220",
                                        "6 NameNerova Nerova name EditableText 220", "7 Unit Unit Text 80",
                                        "8 Value Value LiveValue 160"}));
    ASSERT_EQ(host->timers().size(), 2u);
    EXPECT_EQ(host->timers()[0]->interval(), 1000);
    EXPECT_EQ(host->timers()[1]->interval(), 100);
    EXPECT_EQ(label("deviceConnectedLabel").text, "Disconnected") << "the status waits for the first tick";
}

TEST_F(SetupWindowTest, TheStatusFollowsTheCurrentDeviceEachSecondAndAtATabChange) {
    const auto setup = open();
    first->deviceInfo()->connected = true;
    clock.advance(1000);
    EXPECT_EQ(label("deviceConnectedLabel").text, "Connected");
    EXPECT_EQ(label("deviceConnectedLabel").font().color, 22784u);
    EXPECT_EQ(label("deviceAddress").text, "127.0.0.2:5963");
    EXPECT_EQ(label("deviceAddress").font().color, 0u);

    EXPECT_EQ(kite::selectTab(*host, kTabs, 1), kOk);
    EXPECT_EQ(label("deviceConnectedLabel").text, "Disconnected");
    EXPECT_EQ(label("deviceConnectedLabel").font().color, 255u);
    EXPECT_EQ(label("deviceAddress").text, "127.0.0.3:5964");
    EXPECT_EQ(grid(kGrid).rowCount(), 2);

    // A tab the device list no longer has keeps the current device.
    core.devices.eraseAt(1);
    EXPECT_EQ(kite::selectTab(*host, kTabs, 0), kOk);
    EXPECT_EQ(kite::selectTab(*host, kTabs, 1), kOk);
    EXPECT_EQ(label("deviceAddress").text, "127.0.0.2:5963");
}

TEST_F(SetupWindowTest, WithoutDevicesTheTabsAreHiddenAndOnlyTheHeaderShows) {
    core.devices.eraseAt(1);
    core.devices.eraseAt(0);
    const auto setup = open();
    EXPECT_TRUE(tabs().tabs().empty());
    EXPECT_EQ(tabs().height, 0);
    EXPECT_TRUE(tabs().hidden);
    EXPECT_EQ(grid(kGrid).rowCount(), 1);
    clock.advance(1000);
    EXPECT_EQ(label("deviceConnectedLabel").text, "Disconnected");
    EXPECT_EQ(label("deviceAddress").text, "");
}

TEST_F(SetupWindowTest, EachCellShowsItsChannelAndItsOutputChannel) {
    channel(1).output()->setHostColor(0x00AA33);
    const auto setup = open();
    const struct {
        Int column;
        std::string text;
    } cases[] = {{0, "2"}, {1, "Used"}, {2, "Store"}, {4, "G"}, {5, "c2"}, {6, "c2"}, {7, "V"}};
    for (const auto& c : cases) EXPECT_EQ(grid(kGrid).cellText(2, c.column), c.text) << c.column;
    EXPECT_EQ(cell(2, 0).number, 2.0);
    EXPECT_EQ(cell(2, 3).color, 0x00AA33u);

    // A channel without an output channel yet shows only what it knows itself.
    EXPECT_EQ(kite::selectTab(*host, kTabs, 1), kOk);
    EXPECT_EQ(grid(kGrid).cellText(1, 5), "c1");
    EXPECT_EQ(grid(kGrid).cellText(1, 1), "");
    EXPECT_FALSE(cell(1, 3).color);
    EXPECT_EQ(kite::toggleCell(*host, kGrid, 1, 1, false), kOk);
    EXPECT_EQ(kite::editCell(*host, kGrid, 1, 6, "Renamed"), kOk);
    EXPECT_EQ(channelsOf(*second)[0]->hostName(), "Renamed");
}

TEST_F(SetupWindowTest, ChoicesGoStraightIntoTheOutputChannel) {
    const auto setup = open();
    EXPECT_EQ(kite::toggleCell(*host, kGrid, 1, 1, false), kOk);
    EXPECT_FALSE(channel(0).output()->isUsed());
    EXPECT_EQ(grid(kGrid).cellText(1, 1), "Unused");
    EXPECT_EQ(kite::toggleCell(*host, kGrid, 1, 2, false), kOk);
    EXPECT_FALSE(channel(0).output()->isStored());
    EXPECT_EQ(grid(kGrid).cellText(1, 2), "Store");
    EXPECT_EQ(kite::toggleCell(*host, kGrid, 1, 2, true), kOk);
    EXPECT_TRUE(channel(0).output()->isStored());

    EXPECT_EQ(kite::pickColor(*host, kGrid, 1, 3, 0x0000FF), kOk);
    EXPECT_EQ(channel(0).output()->getHostColor(), 0x0000FFu);
    EXPECT_EQ(kite::editCell(*host, kGrid, 1, 6, "Speed"), kOk);
    EXPECT_EQ(channel(0).hostName(), "Speed");
    EXPECT_EQ(hostChannelName(channel(0)), "Speed");
    EXPECT_EQ(grid(kGrid).cellText(1, 6), "Speed");
}

TEST_F(SetupWindowTest, LiveValuesFollowTheChannelsTenTimesASecond) {
    const auto setup = open();
    channel(2).setLatest(1.5, 0.0);
    clock.advance(100);
    EXPECT_EQ(cell(3, 8).text, "1.500000");
    EXPECT_EQ(cell(3, 8).value, 1.5);
    EXPECT_EQ(cell(3, 8).peak, 1.5);
    EXPECT_EQ(cell(3, 8).kind, 3);

    channel(2).setLatest(-0.25, 0.0);
    clock.advance(99);
    EXPECT_EQ(cell(3, 8).text, "1.500000") << "not yet";
    clock.advance(1);
    EXPECT_EQ(cell(3, 8).text, "-0.250000");
}

TEST_F(SetupWindowTest, TheGridFiltersItsRowsByTheSearchText) {
    const auto setup = open();
    EXPECT_EQ(kite::typeSearch(*host, "channelSearchEdit", "c2"), kOk);
    EXPECT_FALSE(grid(kGrid).rowShown(1));
    EXPECT_TRUE(grid(kGrid).rowShown(2));
    EXPECT_FALSE(grid(kGrid).rowShown(3));
}

TEST_F(SetupWindowTest, NothingReachesADroppedWindow) {
    auto setup = open();
    setup.reset();
    first->deviceInfo()->connected = true;
    channel(0).setLatest(7.0, 0.0);
    clock.advance(1000);
    EXPECT_EQ(label("deviceConnectedLabel").text, "Disconnected");
    EXPECT_FALSE(cell(1, 8).text) << "the toolkit painted again, and nobody answered";
}

}  // namespace
}  // namespace window_test
