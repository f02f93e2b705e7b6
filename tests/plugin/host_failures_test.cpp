// The loaded plug-in against a host that fails some of its calls, with two
// simulated devices on loopback: what the host is answered and told, and
// that the plug-in goes on working once the host does.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "contract/plugin_interfaces.h"
#include "host/objects/channel_group.h"
#include "sim/simulator.h"
#include "support/plugin_test_support.h"

namespace {

using namespace plugin_test;
using vexa::host::ChannelGroupObject;
using vexa::host::ChannelObject;
using vexa::host::HostFault;
using vexa::host::HostFlag;
using vexa::sim::SimConfig;
using vexa::sim::Simulator;

constexpr HRESULT kHostFailure = E_UNEXPECTED;

// A host with one plug-in and two devices, A (two channels) and B (one),
// connected and given output channels by a new setup: the host channels of
// A are 0 and 1, of B 2.
struct Session {
    Session() {
        app->setEchoReports(false);
        EXPECT_EQ(plugin.initialize(app.get()), S_OK);
        auto settings = XmlDocumentObject::parse("<Settings><VexaDevicesSettings>" + stored(simA) + stored(simB) +
                                                 "</VexaDevicesSettings></Settings>");
        EXPECT_EQ(documentEvent(HostEvent::SettingsDocument, settings, false), S_OK);
        Variant ignored;
        EXPECT_EQ(plugin.event(HostEvent::Reconfigure, ignored), S_FALSE);
        EXPECT_EQ(plugin.newSetup(), S_OK);
        EXPECT_EQ(hostIds(), (std::vector<LONG>{0, 1, 2}));
    }

    static SimConfig rig(const char* name, std::vector<vexa::sim::SimChannel> channels, std::atomic<double>& now) {
        SimConfig config;
        config.name = name;
        config.channels = std::move(channels);
        config.clock = [&now] { return now.load(); };
        return config;
    }
    static std::string stored(const Simulator& sim) {
        return "<VexaDeviceSettings><IpAddress>127.0.0.1</IpAddress><PortNumber>" + std::to_string(sim.port()) +
               "</PortNumber></VexaDeviceSettings>";
    }

    HRESULT documentEvent(HostEventId id, const ComPtr<XmlDocumentObject>& document, bool saving) const {
        ComPtr<XmlElementObject> root{&document->root()};
        Variant result;
        return plugin.documentEvent(id, document.get(), root.get(), saving, result);
    }
    ChannelGroupObject& group() const { return app->dataObject()->group(); }
    ChannelObject& hostChannel(LONG id) const {
        ChannelObject* found = group().findById(id);
        if (found == nullptr) throw std::logic_error("no host channel " + std::to_string(id));
        return *found;
    }
    std::vector<LONG> hostIds() const {
        std::vector<LONG> ids;
        for (const auto& channel : group().channels()) ids.push_back(channel->settings().id);
        return ids;
    }
    // One data step: 50 ms of device time, half a second of host time.
    HRESULT step() {
        ++steps;
        now = 0.05 * steps;
        app->clock()->setTime(2.0 + 0.5 * steps);
        return plugin.readData();
    }

    std::atomic<double> now{0.0};
    int steps = 0;
    Simulator simA{rig("Rig A", {{"A/Pressure", "bar"}, {"A/Flow", "l/min"}}, now)};
    Simulator simB{rig("Rig B", {{"B/Speed", "rpm"}}, now)};
    ComPtr<HostAppObject> app = makeHostObject<HostAppObject>();
    PluginDriver plugin{loadedModule().createPlugin()};
};

TEST(FailingHost, ADataStepKeepsItsDevicesApartAndAnswersOnlyForItsOwnHostCalls) {
    struct Case {
        const char* what;
        std::function<void(Session&)> fault;
        HRESULT firstAnswer;
        std::vector<std::string> reports;
        std::uint64_t samplesOfA;  // after two steps, in A's first channel
    };
    const Case cases[] = {
        // Device A's data has nowhere to go: A is reported once and
        // disconnected, B goes on; the step itself went well.
        {"a channel refuses samples",
         [](Session& t) {
             t.hostChannel(0).failMethod(71, HostFault(kHostFailure).describedAs("channel buffer is locked"));
         },
         S_OK, {"channel buffer is locked"}, 0},
        {"a channel refuses samples, and the report",
         [](Session& t) {
             t.hostChannel(0).failMethod(71, HostFault(kHostFailure));
             t.app->failMethod(84, kHostFailure);
         },
         S_OK, {}, 0},
        // The step's own calls: the host is answered its result, nothing is
        // reported, and the next step makes up for it.
        {"the host time", [](Session& t) { t.app->clock()->failMethod(7, HostFault(kHostFailure).failing(1)); },
         kHostFailure, {}, 10},
        {"the block position",
         [](Session& t) { t.app->dataObject()->failMethod(10, HostFault(kHostFailure).failing(1)); },
         kHostFailure, {}, 10},
    };
    for (const Case& c : cases) {
        Session session;
        ASSERT_EQ(session.plugin.startAcquisition(), S_OK);
        c.fault(session);
        EXPECT_EQ(session.step(), c.firstAnswer) << c.what;
        EXPECT_EQ(session.step(), S_OK) << c.what;
        EXPECT_EQ(session.plugin.stopAcquisition(), S_OK) << c.what;
        EXPECT_EQ(session.app->reportedErrors(), c.reports) << c.what;
        EXPECT_EQ(session.hostChannel(0).samplesWritten(), c.samplesOfA) << c.what;
        EXPECT_EQ(session.hostChannel(2).samplesWritten(), 10u) << c.what << ": device B";
    }
}

// The plug-in writes acquired samples only into host channels whose used
// flag is exactly VARIANT_TRUE; other values a host might answer for true
// leave the channel unwritten.
TEST(FailingHost, OnlyChannelsTheHostAnswersExactlyTrueForAreWritten) {
    Session s;
    s.hostChannel(0).settings().used = HostFlag::answering(1);
    s.hostChannel(1).settings().used = HostFlag::answering(0x7FFF);
    ASSERT_EQ(s.plugin.startAcquisition(), S_OK);
    ASSERT_EQ(s.step(), S_OK);
    EXPECT_EQ(s.hostChannel(0).samplesWritten(), 0u);
    EXPECT_EQ(s.hostChannel(1).samplesWritten(), 0u);
    EXPECT_EQ(s.hostChannel(2).samplesWritten(), 5u);
    EXPECT_TRUE(s.app->reportedErrors().empty());
}

// A setup that failed half way through its outputs leaves no host channel
// behind, so loading it again makes each channel once.
TEST(FailingHost, ASetupLoadTheHostFailsHalfWayCanBeLoadedAgain) {
    Session s;
    auto setup = XmlDocumentObject::create("Setup");
    ASSERT_EQ(s.documentEvent(HostEvent::SetupDocument, setup, true), S_OK);
    s.group().failNewChannels(123, HostFault(kHostFailure).failing(1), 1);

    EXPECT_EQ(s.documentEvent(HostEvent::SetupDocument, setup, false), kHostFailure);
    EXPECT_EQ(s.hostIds(), (std::vector<LONG>{})) << "what the failed load made went at its end";
    s.group().clearNewChannelFaults();
    EXPECT_EQ(s.documentEvent(HostEvent::SetupDocument, setup, false), S_OK);
    EXPECT_EQ(s.hostIds(), (std::vector<LONG>{0, 1, 2}));
    EXPECT_TRUE(s.app->reportedErrors().empty());

    ASSERT_EQ(s.plugin.startAcquisition(), S_OK);
    ASSERT_EQ(s.step(), S_OK);
    for (const LONG id : {0, 1, 2}) EXPECT_EQ(s.hostChannel(id).samplesWritten(), 5u) << id;
}

// Unbinding for a new setup removes the channels; one the host refuses to
// remove stays bound, so the next new setup removes it then.
TEST(FailingHost, AChannelTheHostWouldNotRemoveIsRemovedByTheNextSetup) {
    Session s;
    s.group().failMethod(16, HostFault(kHostFailure).afterCalls(1).failing(1));
    EXPECT_EQ(s.plugin.newSetup(), kHostFailure);
    EXPECT_EQ(s.hostIds(), (std::vector<LONG>{1, 2}));
    EXPECT_EQ(s.plugin.newSetup(), S_OK);
    EXPECT_EQ(s.hostIds(), (std::vector<LONG>{0, 1, 2}));
    EXPECT_EQ(s.group().removals(), 1 + 2);
}

// A document the host fails to write answers the host's result and leaves
// the result unwritten; the next save writes what an undisturbed one does.
TEST(FailingHost, ASaveTheHostFailsCanBeRepeated) {
    Session s;
    for (const HostEventId id : {HostEvent::SetupDocument, HostEvent::SettingsDocument}) {
        auto reference = XmlDocumentObject::create("Saved");
        ASSERT_EQ(s.documentEvent(id, reference, true), S_OK);
        for (const int method : {9, 16}) {
            auto document = XmlDocumentObject::create("Saved");
            document->failMethod(method, HostFault(kHostFailure).afterCalls(2).failing(1));
            ComPtr<XmlElementObject> root{&document->root()};
            Variant result;
            EXPECT_EQ(s.plugin.documentEvent(id, document.get(), root.get(), true, result), kHostFailure) << method;
            EXPECT_EQ(result.type(), VT_EMPTY) << method;
            auto again = XmlDocumentObject::create("Saved");
            EXPECT_EQ(s.documentEvent(id, again, true), S_OK) << method;
            EXPECT_EQ(again->toText(), reference->toText()) << id << " " << method;
        }
    }
    EXPECT_TRUE(s.app->reportedErrors().empty());
}

}  // namespace
