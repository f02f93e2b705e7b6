// The output path against a host that fails some of its calls: the failure
// reaches the caller with the host's result, and the factory and the host
// still agree on which channels exist.
#include <functional>
#include <string>
#include <vector>

#include "support/output_fixture.h"

namespace output_test {
namespace {

using vexa::host::HostFault;
using vexa::host::HostFlag;

// A host and a factory bound to it, for tables whose rows each need one.
struct Rig {
    Rig() {
        factory.setHost(asInterface<HostApp>(host.app), host.pluginId,
                        static_cast<HostChannelGroup*>(host.group.get()));
    }
    std::vector<LONG> hostIds() const {
        std::vector<LONG> ids;
        for (const auto& channel : host.group->channels()) ids.push_back(channel->settings().id);
        return ids;
    }
    std::vector<OutputChannelKey> keys() const {
        std::vector<OutputChannelKey> held;
        for (const ChannelEntry& entry : factory.entries()) held.push_back(entry.key);
        return held;
    }

    TestHost host;
    OutputFactoryImpl factory;
};

using Fault = std::function<void(Rig&)>;

TEST(FactoryAgainstAFailingHost, ACreationTheHostFailsLeavesNoChannelOnEitherSide) {
    struct Case {
        const char* what;
        Fault fault;
        bool kept;  // the failure came after the channel was made on both sides
    };
    const HostFault once = HostFault(E_UNEXPECTED).failing(1);
    const Case cases[] = {
        {"creation", [&](Rig& r) { r.host.group->failMethod(18, once); }, false},
        {"data type", [&](Rig& r) { r.host.group->failNewChannels(89, once); }, false},
        {"kind flags", [&](Rig& r) { r.host.group->failNewChannels(108, once); }, false},
        {"used", [&](Rig& r) { r.host.group->failNewChannels(23, once); }, false},
        {"mark retained",
         [&](Rig& r) {
             r.host.data->retainChannels = true;
             r.host.group->failNewChannels<HostChannelControl>(14, once);
         },
         false},
        {"name", [&](Rig& r) { r.host.group->failNewChannels(20, once); }, false},
        {"properties", [&](Rig& r) { r.host.group->failNewChannels(188, once); }, false},
        {"palette colour", [&](Rig& r) { r.host.group->failNewChannels(52, HostFault(once).afterCalls(1)); },
         false},
        {"setup mode", [&](Rig& r) { r.host.app->failMethod(111, once); }, false},
        {"retention", [&](Rig& r) { r.host.data->failMethod(58, once); }, false},
        {"activation", [&](Rig& r) { r.host.group->failNewChannels<HostChannelControl>(7, once); }, true},
        {"host notice", [&](Rig& r) { r.host.data->failMethod(34, once); }, true},
    };
    for (const Case& c : cases) {
        Rig rig;
        c.fault(rig);
        EXPECT_EQ(comResultOf([&] { rig.factory.createOutputChannel(timedDoubleChannel, nullptr); }), E_UNEXPECTED)
            << c.what;
        const std::vector<LONG> left = c.kept ? std::vector<LONG>{0} : std::vector<LONG>{};
        EXPECT_EQ(rig.hostIds(), left) << c.what;
        EXPECT_EQ(rig.keys(), (std::vector<OutputChannelKey>(left.begin(), left.end()))) << c.what;

        rig.host.group->clearNewChannelFaults();
        const auto next = rig.factory.createOutputChannel(timedDoubleChannel, nullptr);
        EXPECT_EQ(next->getKey(), c.kept ? 1u : 0u) << c.what << ": the key is free again unless it is used";
        EXPECT_EQ(rig.hostIds().size(), rig.keys().size()) << c.what;
    }
}

TEST(FactoryAgainstAFailingHost, ARemovalTheHostRefusesChangesNothingAndCanBeTriedAgain) {
    Rig rig;
    const auto channel = rig.factory.createOutputChannel(timedDoubleChannel, nullptr);
    rig.factory.createOutputChannel(timedDoubleChannel, nullptr);
    const int notices = rig.host.data->refreshCount;
    rig.host.group->failMethod(16, HostFault(E_UNEXPECTED).failing(1));
    EXPECT_EQ(comResultOf([&] { rig.factory.removeOutputChannel(channel); }), E_UNEXPECTED);
    EXPECT_EQ(rig.keys(), (std::vector<OutputChannelKey>{0, 1}));
    EXPECT_EQ(rig.hostIds(), (std::vector<LONG>{0, 1}));
    EXPECT_TRUE(channel->isUsed()) << "still attached to its host channel";

    rig.factory.removeOutputChannel(channel);
    EXPECT_EQ(rig.keys(), (std::vector<OutputChannelKey>{1}));
    EXPECT_EQ(rig.hostIds(), (std::vector<LONG>{1}));
    EXPECT_EQ(rig.host.data->refreshCount, notices + 1) << "one notice, for the removal that happened";
}

TEST(FactoryAgainstAFailingHost, TheEndOfALoadClosesItsBracketWhateverTheHostFails) {
    const std::vector<std::pair<const char*, Fault>> faults = {
        {"removal", [](Rig& r) { r.host.group->failMethod(16, HostFault(E_UNEXPECTED).failing(1)); }},
        {"retention", [](Rig& r) { r.host.data->failMethod(58, HostFault(E_UNEXPECTED).failing(1)); }},
    };
    for (const auto& [what, fault] : faults) {
        Rig rig;
        rig.factory.beginLoadSetup();
        rig.factory.createOutputChannel(timedDoubleChannel, nullptr);  // held by nobody: pruned at the end
        fault(rig);
        EXPECT_EQ(comResultOf([&] { rig.factory.endLoadSetup(); }), E_UNEXPECTED) << what;
        EXPECT_FALSE(rig.factory.isLoadingSetup()) << what;
        EXPECT_EQ(rig.keys().size(), rig.hostIds().size()) << what;
        rig.factory.beginLoadSetup();
        rig.factory.endLoadSetup();
        EXPECT_TRUE(rig.keys().empty()) << what << ": pruned at the next end";
        EXPECT_TRUE(rig.hostIds().empty()) << what;
    }
}

TEST(FactoryAgainstAFailingHost, AnOutputThatFailsToLoadLeavesOnlyTheHostsOwnChannelsBehind) {
    // Outputs 0 and 1 as a factory saves them, with the settings their host
    // channels write (their places "1:0" and "1:1" among them).
    Rig saver;
    saver.factory.createOutputChannel(timedDoubleChannel, nullptr);
    saver.factory.createOutputChannel(timedDoubleChannel, nullptr);
    SetupDocument setup;
    saver.factory.saveSetup(*setup.root);
    setup.root->setWriting(false);

    for (const bool retained : {false, true}) {
        Rig rig;
        rig.host.data->retainChannels = retained;
        // A kept host channel stands where the setup says output 0's stood;
        // otherwise the load makes one.
        if (retained) rig.host.group->addChannel(0)->failMethod(123, HostFault(E_UNEXPECTED));
        else rig.host.group->failNewChannels(123, HostFault(E_UNEXPECTED));
        rig.factory.beginLoadSetup();
        EXPECT_EQ(comResultOf([&] { rig.factory.loadSetup(*setup.root); }), E_UNEXPECTED) << retained;
        EXPECT_TRUE(rig.keys().empty()) << retained;
        EXPECT_EQ(rig.hostIds(), retained ? std::vector<LONG>{0} : std::vector<LONG>{})
            << (retained ? "a kept channel stays the host's" : "the channel made for output 0 went again");
        rig.factory.endLoadSetup();
    }
}

TEST(AddDataAgainstAFailingHost, ASampleTheHostRefusesIsNotCountedAndTheNextOneLandsInItsPlace) {
    struct Case {
        int method;
        bool inSetup;
    };
    // Value size, write position, the two buffers, the advance; in setup
    // the data type, the scaling and the used flag come first.
    const Case cases[] = {{30, false}, {12, false}, {184, false}, {185, false}, {71, false},
                          {29, true},  {156, true}, {22, true}};
    for (const Case& c : cases) {
        Rig rig;
        const auto channel = rig.factory.createOutputChannel(timedDoubleChannel, nullptr);
        ChannelObject& hostChannel = *rig.host.group->findById(0);
        if (c.inSetup) {
            rig.host.app->setSetupMode(true);
            rig.factory.refreshAddData();
        }
        hostChannel.failMethod(c.method, HostFault(E_UNEXPECTED).failing(1));
        const double first = 1.5;
        EXPECT_EQ(comResultOf([&] { channel->addTimedSample(&first, sizeof first, 1.0); }), E_UNEXPECTED)
            << c.method;
        EXPECT_EQ(hostChannel.samplesWritten(), 0u) << c.method;
        // The preview comes before the used flag is read: it stands.
        EXPECT_EQ(channel->lastValue(), c.method == 22 ? 1.5 : 0.0) << c.method;

        const double second = 2.5;
        channel->addTimedSample(&second, sizeof second, 2.0);
        ASSERT_EQ(hostChannel.samplesWritten(), 1u) << c.method;
        EXPECT_EQ(hostChannel.valueAt(0), 2.5) << c.method;
        EXPECT_EQ(hostChannel.timeAt(0), 2.0) << c.method;
    }
}

// A host may answer any 16-bit value for a flag. Where the plug-in takes a
// flag as set only when it is exactly VARIANT_TRUE (the strategy's used
// flag, the setup mode, the kind flags), 1 or 0x7FFF count as not set;
// where it takes any value but 0 (isUsed, the used flag in setup) they count
// as set.
TEST(FlagsAsTheHostAnswersThem, OnlyVariantTrueCountsWhereExactlyTrueIsAsked) {
    const VARIANT_BOOL answers[] = {0, VARIANT_TRUE, 1, 0x7FFF, static_cast<VARIANT_BOOL>(0x8000)};
    for (const VARIANT_BOOL answer : answers) {
        const bool exactlyTrue = answer == VARIANT_TRUE;
        Rig rig;
        const auto channel = rig.factory.createOutputChannel(timedDoubleChannel, nullptr);
        ChannelObject& hostChannel = *rig.host.group->findById(0);
        hostChannel.settings().used = HostFlag::answering(answer);
        const double value = 4.0;

        rig.factory.refreshAddData();
        channel->addTimedSample(&value, sizeof value, 1.0);
        EXPECT_EQ(hostChannel.samplesWritten(), exactlyTrue ? 1u : 0u) << answer << ": acquired only when used";
        EXPECT_EQ(channel->isUsed(), answer != 0) << answer;

        rig.host.app->setSetupMode(true);
        rig.factory.refreshAddData();
        channel->addTimedSample(&value, sizeof value, 2.0);
        EXPECT_EQ(channel->lastValue(), 4.0) << answer << ": previewed in setup";
        EXPECT_EQ(hostChannel.samplesWritten(), (exactlyTrue ? 1u : 0u) + (answer != 0 ? 1u : 0u)) << answer;

        hostChannel.settings().used = true;
        rig.host.app->setSetupFlag(answer);
        rig.factory.refreshAddData();
        channel->addTimedSample(&value, sizeof value, 3.0);
        EXPECT_EQ(channel->lastValue(), exactlyTrue ? 4.0 : 0.0) << answer << ": setup only when exactly true";

        hostChannel.settings().singleValue = HostFlag::answering(answer);
        EXPECT_EQ(channel->getType().kind, exactlyTrue ? 2u : 1u) << answer;
        hostChannel.settings().singleValue = false;
        hostChannel.settings().asynchronous = HostFlag::answering(answer);
        EXPECT_EQ(channel->getType().kind, exactlyTrue ? 1u : 0u) << answer;
    }
}

}  // namespace
}  // namespace output_test
