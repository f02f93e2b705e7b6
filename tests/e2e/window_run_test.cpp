// A user's run through the plug-in's windows, as the reference host shows
// them: the real module through its COM entry points, the host's toolkit
// and its window sequence, and a simulated device on the network. What the
// user sees is read from the windows' JSON, as the live page reads it.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "host/kite/toolkit.h"
#include "host/objects/host_app_object.h"
#include "host/plugin_driver.h"
#include "host/plugin_module.h"
#include "host/window_session.h"
#include "sim/simulator.h"

namespace {

namespace fs = std::filesystem;
namespace kite = vexa::kite;
using kite::Json;
using vexa::host::WindowKind;

constexpr kite::ErrCode kOk = 0;
constexpr kite::ErrCode kGeneralError = 0x80000014u;

std::string randomLoopbackAddress() {
    std::random_device random;
    std::uniform_int_distribution<int> part(0, 255), last(2, 254);
    return "127." + std::to_string(part(random)) + "." + std::to_string(part(random)) + "." +
           std::to_string(last(random));
}

// A string member of `node`, or `otherwise`. (Json::value() trips GCC's
// null-dereference warning when inlined at -O3.)
std::string textMember(const Json& node, const char* key, const std::string& otherwise = {}) {
    const auto found = node.find(key);
    if (found == node.end() || !found->is_string()) return otherwise;
    return found->get_ref<const std::string&>();
}

// The control named `name` in a window's JSON, or null.
const Json* findNamed(const Json& node, const std::string& name) {
    if (textMember(node, "name") == name) return &node;
    if (!node.contains("children")) return nullptr;
    for (const Json& child : node.at("children"))
        if (const Json* found = findNamed(child, name)) return found;
    return nullptr;
}

// A copy of the control named `name`; an empty object when there is none.
Json named(const Json& window, const std::string& name) {
    const Json* found = findNamed(window, name);
    if (found == nullptr) {
        ADD_FAILURE() << "no control named " << name;
        return Json::object();
    }
    return *found;
}

// What a grid shows in a cell of the column with index `column`.
Json cellOf(const Json& grid, kite::Int row, kite::Int column) {
    std::size_t position = 0;
    for (const Json& defined : grid.at("columns")) {
        if (!defined.at("shown").get<bool>()) continue;
        if (defined.at("index").get<kite::Int>() == column) break;
        ++position;
    }
    for (const Json& shown : grid.at("rows"))
        if (shown.at("row").get<kite::Int>() == row) return shown.at("cells").at(position);
    ADD_FAILURE() << "row " << row << " is not shown";
    return Json::object();
}

std::string textOf(const Json& grid, kite::Int row, kite::Int column) {
    return textMember(cellOf(grid, row, column), "text", "<none>");
}

// A folder of the test's own, removed once everything that writes into it
// (the plug-in's log) has gone: declare it before them.
struct TempFolder {
    fs::path path = fs::temp_directory_path() / ("vexa-window-run-" + randomLoopbackAddress());
    TempFolder() { fs::create_directories(path); }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

class WindowRun : public ::testing::Test {
protected:
    WindowRun() {
        app->setLogFolder(folder.path.string() + "/");
        app->setEchoReports(false);
    }

    Json windowJson(WindowKind kind) const {
        kite::Window* window = session.window(kind);
        EXPECT_NE(window, nullptr);
        return window ? window->json() : Json::object();
    }
    vexa::host::ChannelObject* hostChannel(const std::string& name) const {
        for (const auto& channel : app->dataObject()->group().channels())
            if (channel->settings().name == name) return channel.get();
        return nullptr;
    }

    // The only ports the settings window accepts are fixed, so the device
    // has a loopback address of this test's own.
    const std::string address = randomLoopbackAddress();
    vexa::sim::Simulator device{vexa::sim::SimConfig{}, 5964, address};
    TempFolder folder;
    vexa::host::PluginSource source{vexa::host::PluginModule::besideProgram(), false};
    vexa::ComPtr<vexa::host::HostAppObject> app = vexa::host::makeHostObject<vexa::host::HostAppObject>();
    vexa::host::PluginDriver plugin{source.create()};
    kite::UiClock clock;
    vexa::host::WindowSession session{plugin, clock};
};

TEST_F(WindowRun, AUserAddsADeviceChoosesChannelsAndWatchesLiveValues) {
    ASSERT_EQ(plugin.initialize(app.get()), S_OK);

    // Settings: a new device, then its address and port edited to the
    // simulator's. Each accepted edit connects.
    ASSERT_TRUE(session.open(WindowKind::Settings));
    kite::Window& settings = *session.window(WindowKind::Settings);
    ASSERT_EQ(kite::click(settings, "addDeviceButton"), kOk);
    Json grid = named(windowJson(WindowKind::Settings), "deviceNVDrawGrid");
    EXPECT_EQ(grid.at("rowCount"), 2);
    EXPECT_EQ(textOf(grid, 1, 0), "127.0.0.1");
    EXPECT_EQ(textOf(grid, 1, 1), "5963");
    EXPECT_EQ(textOf(grid, 1, 2), "Unknown Vexa device");
    EXPECT_EQ(textOf(grid, 1, 3), "Connect");

    EXPECT_EQ(kite::editCell(settings, "deviceNVDrawGrid", 1, 0, address), kOk);  // nobody at :5963
    EXPECT_EQ(kite::editCell(settings, "deviceNVDrawGrid", 1, 1, "5968"), kOk);    // refused: out of range
    EXPECT_EQ(kite::editCell(settings, "deviceNVDrawGrid", 1, 1, "abc"), kGeneralError);
    grid = named(windowJson(WindowKind::Settings), "deviceNVDrawGrid");
    EXPECT_EQ(textOf(grid, 1, 0), address);
    EXPECT_EQ(textOf(grid, 1, 1), "5963");
    EXPECT_EQ(textOf(grid, 1, 3), "Connect");

    EXPECT_EQ(kite::editCell(settings, "deviceNVDrawGrid", 1, 1, "5964"), kOk);
    grid = named(windowJson(WindowKind::Settings), "deviceNVDrawGrid");
    EXPECT_EQ(textOf(grid, 1, 1), "5964");
    EXPECT_EQ(textOf(grid, 1, 2), "Vexa simulated device");
    EXPECT_EQ(textOf(grid, 1, 3), "Disconnect");

    // Closing the settings saves them, reads the channel lists and applies
    // a new setup: the device's channels get their host channels.
    ASSERT_TRUE(session.close(WindowKind::Settings));
    EXPECT_NE(hostChannel("Speed"), nullptr);

    ASSERT_TRUE(session.open(WindowKind::Setup));
    kite::Window& setup = *session.window(WindowKind::Setup);
    clock.advance(1000);  // the status timer
    Json shown = windowJson(WindowKind::Setup);
    const Json tabs = named(shown, "deviceSelectionTabControl");
    ASSERT_EQ(tabs.at("tabs").size(), 1u);
    EXPECT_EQ(tabs.at("tabs").at(0).at("title"), "Vexa simulated device");
    EXPECT_EQ(tabs.at("selected"), 0);
    EXPECT_EQ(named(shown, "deviceConnectedLabel").at("text"), "Connected");
    EXPECT_EQ(named(shown, "deviceConnectedLabel").at("color"), "#005900");
    EXPECT_EQ(named(shown, "deviceAddress").at("text"), address + ":5964");
    grid = named(shown, "channelGrid");
    ASSERT_EQ(grid.at("rowCount"), 4);
    EXPECT_EQ(cellOf(grid, 1, 0).at("number"), 1.0);
    EXPECT_EQ(textOf(grid, 1, 1), "Used");
    EXPECT_EQ(textOf(grid, 1, 2), "Store");
    EXPECT_EQ(textOf(grid, 1, 4), "Engine");
    EXPECT_EQ(textOf(grid, 1, 5), "Speed");
    EXPECT_EQ(textOf(grid, 1, 6), "Speed");
    EXPECT_EQ(textOf(grid, 1, 7), "rpm");
    EXPECT_EQ(textOf(grid, 3, 4), "Ambient");
    EXPECT_EQ(textOf(grid, 3, 5), "Temperature");

    // Unused, and renamed: both reach the host's channels.
    ASSERT_EQ(kite::toggleCell(setup, "channelGrid", 2, 1, false), kOk);
    ASSERT_EQ(kite::editCell(setup, "channelGrid", 3, 6, "Air temperature"), kOk);
    grid = named(windowJson(WindowKind::Setup), "channelGrid");
    EXPECT_EQ(textOf(grid, 2, 1), "Unused");
    EXPECT_EQ(textOf(grid, 2, 2), "Store");
    EXPECT_EQ(textOf(grid, 3, 6), "Air temperature");
    ASSERT_NE(hostChannel("Torque"), nullptr);
    EXPECT_FALSE(hostChannel("Torque")->settings().used);
    EXPECT_EQ(hostChannel("Temperature"), nullptr);
    ASSERT_NE(hostChannel("Air temperature"), nullptr);

    // During an acquisition the live column follows what the device sends.
    ASSERT_EQ(plugin.prepareAcquisition(), S_OK);
    ASSERT_EQ(plugin.startAcquisition(), S_OK);
    vexa::host::ChannelObject& speed = *hostChannel("Speed");
    std::string previous;
    int changes = 0;
    for (int step = 1; step <= 20 && changes < 2; ++step) {
        app->clock()->setTime(0.05 * step);
        ASSERT_EQ(plugin.readData(), S_OK);
        clock.advance(100);  // the live timer
        if (speed.samplesWritten() == 0) continue;
        const LONG last = (speed.writePosition() + speed.bufferLength() - 1) % speed.bufferLength();
        char expected[64];
        std::snprintf(expected, sizeof expected, "%f", speed.valueAt(last));
        const std::string live = textOf(named(windowJson(WindowKind::Setup), "channelGrid"), 1, 8);
        EXPECT_EQ(live, expected) << "at step " << step;
        if (live != previous) ++changes;
        previous = live;
    }
    EXPECT_GE(changes, 2) << "the live value moves with the device";
    ASSERT_EQ(plugin.stopAcquisition(), S_OK);
    EXPECT_TRUE(app->reportedErrors().empty()) << app->reportedErrors().front();

    ASSERT_TRUE(session.close(WindowKind::Setup));
    EXPECT_EQ(clock.runningTimers(), 0u) << "a dropped window's timers stop";
}

TEST_F(WindowRun, TheAnalysisWindowGreetsAndAWindowWithoutAHostWindowFails) {
    ASSERT_EQ(plugin.initialize(app.get()), S_OK);
    ASSERT_TRUE(session.open(WindowKind::Analysis));
    const std::string text = windowJson(WindowKind::Analysis).dump();
    EXPECT_NE(text.find("\"text\":\"Hello from analysis!\""), std::string::npos) << text;

    EXPECT_EQ(plugin.windowEvent(HostEvent::CreateSettingsWindow, nullptr), E_FAIL);
    ASSERT_EQ(app->reportedErrors().size(), 1u);
    EXPECT_EQ(app->reportedErrors()[0], "Window must not be null.");
}

}  // namespace
