// The setup window driven through the fake toolkit: tabs per device, the
// status labels, the channel grid and its live values, over the plug-in's
// real devices and output channels.
#include <gtest/gtest.h>

#include "core/errors.h"
#include "device/device_list.h"
#include "output/output_channel.h"
#include "ui/setup_window.h"
#include "window_fixture.h"

namespace window_test {
namespace {

using kite_fake::FakeLabel;
using kite_fake::FakeTabControl;
using Nerova::Kite::Int;

class SetupWindowTest : public WindowTest {
protected:
    SetupWindowTest() {
        first = addDevice("127.0.0.2", 5963, 3);
        first->deviceInfo()->name = "Vexa A";
        second = addDevice("127.0.0.3", 5964, 1);
        for (const auto& channel : channelsOf(*first)) channel->createOutput(storage_test::kFreshKey);
    }

    std::unique_ptr<SetupWindow> open() { return std::make_unique<SetupWindow>(window(), core.devices); }
    FakeGrid& grid() { return fake->grid("channelGrid"); }
    FakeTabControl& tabs() { return fake->control<FakeTabControl>("deviceSelectionTabControl"); }
    FakeLabel& label(const char* name) { return fake->control<FakeLabel>(name); }
    kite_fake::FakeTimer& timer(std::size_t k) { return *fake->timers.at(k).get(); }
    VexaChannel& channel(std::size_t k) { return *channelsOf(*first).at(k); }

    std::shared_ptr<VexaDevice> first, second;
};

TEST_F(SetupWindowTest, ShowsATabPerDeviceTheFirstsChannelsAndTwoTimers) {
    const auto setup = open();
    EXPECT_EQ(tabs().tabs, (std::vector<std::pair<std::string, Int>>{{"Vexa A", 1}, {"Unknown Vexa device", 1}}));
    EXPECT_EQ(tabs().selected, 0);
    EXPECT_EQ(tabs().height, 25);
    EXPECT_EQ(tabs().hidden, 0);
    EXPECT_EQ(grid().rows, 4);
    EXPECT_EQ(grid().columns, 9);
    EXPECT_EQ(grid().applied, 1);

    EXPECT_EQ(columnsOf(grid()), (std::vector<std::string>{
                           "0 ID ID 3 50 1", "1 Used Used 6 60 1", "2 Used Store 6 60 1", "3 Color C 7 20 1",
                           "6 NameNerova Nerova name 2 220 1", "5 NameVexa Vexa name 1 220 1",
                           "4 GroupName Group 1 220 1", "8 Value Value 9 160 1", "7 Unit Unit 1 80 1"}));
    EXPECT_EQ(grid().defined[0]->resizable, 0);

    ASSERT_EQ(fake->timers.size(), 2u);
    EXPECT_EQ(timer(0).interval, 1000);
    EXPECT_EQ(timer(1).interval, 100);
    EXPECT_EQ(label("deviceConnectedLabel").text, "Disconnected") << "the status waits for the first tick";
}

TEST_F(SetupWindowTest, TheStatusFollowsTheCurrentDeviceEachSecondAndAtATabChange) {
    const auto setup = open();
    first->deviceInfo()->connected = true;
    EXPECT_EQ(timer(0).tick(), std::vector<ErrCode>{kOk});
    EXPECT_EQ(label("deviceConnectedLabel").text, "Connected");
    EXPECT_EQ(label("deviceConnectedLabel").font->color, 22784u);
    EXPECT_EQ(label("deviceAddress").text, "127.0.0.2:5963");
    EXPECT_EQ(label("deviceAddress").font->color, 0u);

    EXPECT_EQ(tabs().pick(1), std::vector<ErrCode>{kOk});
    EXPECT_EQ(label("deviceConnectedLabel").text, "Disconnected");
    EXPECT_EQ(label("deviceConnectedLabel").font->color, 255u);
    EXPECT_EQ(label("deviceAddress").text, "127.0.0.3:5964");
    EXPECT_EQ(grid().rows, 2);

    // A tab the device list no longer has keeps the current device.
    core.devices.eraseAt(1);
    tabs().pick(1);
    EXPECT_EQ(label("deviceAddress").text, "127.0.0.3:5964");
    EXPECT_EQ(grid().rows, 2);
}

TEST_F(SetupWindowTest, WithoutDevicesTheTabsAreHiddenAndNothingIsShown) {
    core.devices.eraseAt(1);
    core.devices.eraseAt(0);
    const auto setup = open();
    EXPECT_TRUE(tabs().tabs.empty());
    EXPECT_EQ(tabs().height, 0);
    EXPECT_EQ(tabs().hidden, 1);
    EXPECT_EQ(grid().rows, 1);
    timer(0).tick();
    EXPECT_EQ(label("deviceConnectedLabel").text, "Disconnected");
    EXPECT_EQ(label("deviceAddress").text, "");
    EXPECT_FALSE(grid().cell(1, 0)->number);
}

TEST_F(SetupWindowTest, EachCellShowsItsChannelAndItsOutputChannel) {
    channel(1).output()->setHostColor(0x00AA33);
    const auto setup = open();
    const struct {
        Int column;
        std::string text;
    } cases[] = {{1, "Used"}, {2, "Store"}, {4, "G"}, {5, "c2"}, {6, "c2"}, {7, "V"}, {8, ""}, {9, ""}};
    for (const auto& c : cases) EXPECT_EQ(grid().text(2, c.column), c.text) << c.column;
    EXPECT_EQ(grid().cell(2, 0)->number, 2.0);
    EXPECT_EQ(grid().cell(2, 3)->color, 0x00AA33u);
    for (Int row : {0, 4}) {
        const auto cell = grid().cell(row, 5);
        EXPECT_FALSE(cell->text || cell->number || cell->color) << row;
    }

    // A channel without an output channel yet shows only what it knows itself.
    tabs().pick(1);
    EXPECT_EQ(grid().text(1, 5), "c1");
    EXPECT_EQ(grid().text(1, 1), "");
    EXPECT_FALSE(grid().cell(1, 3)->color);
    EXPECT_EQ(grid().action(1, 1, 0), std::vector<ErrCode>{kOk});
    EXPECT_EQ(grid().input(1, 6, "Renamed"), std::vector<ErrCode>{kOk});
    EXPECT_EQ(channelsOf(*second)[0]->hostName(), "Renamed");
}

TEST_F(SetupWindowTest, ChoicesGoStraightIntoTheOutputChannel) {
    const auto setup = open();
    grid().action(1, 1, 0);
    EXPECT_FALSE(channel(0).output()->isUsed());
    EXPECT_EQ(grid().text(1, 1), "Unused");
    grid().action(1, 2, 0);
    EXPECT_FALSE(channel(0).output()->isStored());
    grid().action(1, 2, 1);
    EXPECT_TRUE(channel(0).output()->isStored());
    EXPECT_EQ(grid().text(1, 2), "Store");

    grid().input(1, 3, "", 0x0000FF);
    EXPECT_EQ(channel(0).output()->getHostColor(), 0x0000FFu);
    grid().input(1, 6, "Speed");
    EXPECT_EQ(channel(0).hostName(), "Speed");
    EXPECT_EQ(hostChannelName(channel(0)), "Speed");
    grid().input(1, 5, "Ignored");
    EXPECT_EQ(channel(0).deviceName(), "c1");
}

TEST_F(SetupWindowTest, LiveValuesFollowTheChannelsAndTheLiveTimerRepaints) {
    const auto setup = open();
    channel(2).setLatest(1.5, 0.0);
    const auto live = grid().live(3, 8);
    EXPECT_EQ(live->text, "1.500000");
    EXPECT_EQ(live->peak, 1.5);
    EXPECT_EQ(live->value, 1.5);
    EXPECT_EQ(live->kind, 3);
    EXPECT_EQ(live->calls, (std::vector<std::string>{"text", "peak", "value", "kind"}));
    EXPECT_TRUE(grid().live(3, 7)->calls.empty());
    EXPECT_TRUE(grid().live(4, 8)->calls.empty());

    timer(1).tick();
    timer(1).tick();
    EXPECT_EQ(grid().repaints, 2);
}

TEST_F(SetupWindowTest, SearchHandsTheTextToTheGrid) {
    const auto setup = open();
    EXPECT_EQ(fake->control<kite_fake::FakeSearchEdit>("channelSearchEdit").type("c2"), std::vector<ErrCode>{kOk});
    EXPECT_EQ(grid().searched, (std::vector<std::pair<std::string, Int>>{{"c2", 0}}));
}

TEST_F(SetupWindowTest, NothingReachesADroppedWindow) {
    auto setup = open();
    setup.reset();
    first->deviceInfo()->connected = true;
    EXPECT_EQ(timer(0).tick(), std::vector<ErrCode>{kOk});
    EXPECT_EQ(timer(1).tick(), std::vector<ErrCode>{kOk});
    EXPECT_EQ(label("deviceConnectedLabel").text, "Disconnected");
    EXPECT_EQ(grid().repaints, 0);
    EXPECT_FALSE(grid().cell(1, 5)->text);
}

TEST_F(SetupWindowTest, AWindowThatFailsAfterSubscribingLeavesHandlersThatDoNothing) {
    using Supply = FakeWindow::TimerSupply;
    for (const auto& [supply, code] :
         {std::pair{Supply::Nothing, 0x80000001u}, std::pair{Supply::Failure, kGeneralError}}) {
        fake->timerSupply = supply;
        try {
            SetupWindow made(window(), core.devices);
            ADD_FAILURE() << "made without timers";
        } catch (const Nerova::RT::Core::NvrtException& error) {
            EXPECT_EQ(error.code(), code);
        }
        ErrCode status = 1;
        EXPECT_FALSE(grid().cell(1, 5, &status)->text);
        EXPECT_EQ(status, kOk);
        EXPECT_EQ(grid().events[FakeGrid::CellProperties].size(), 1u);
    }
}

}  // namespace
}  // namespace window_test
