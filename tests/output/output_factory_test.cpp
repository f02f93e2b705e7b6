// The output factory: keys, colours, the mount and load brackets and the
// setup, against the reference host.
#include <filesystem>
#include <stdexcept>

#include "support/output_fixture.h"
#include "serialization/node_values.h"

namespace output_test {
namespace {

const std::string bracketError =
    "OutputFactory: beginLoadSetup and endLoadSetup not called correctly at start and end of onLoadSetup event.";

using Factory = OutputTest;

std::vector<OutputChannelKey> keysOf(const OutputFactoryImpl& factory) {
    std::vector<OutputChannelKey> keys;
    for (const ChannelEntry& entry : factory.entries()) keys.push_back(entry.key);
    return keys;
}

// A setup whose "OutputList" holds the given outputs, ready to be read.
SetupDocument setupWith(const std::vector<std::pair<std::string, std::string>>& outputs,
                        const std::string& colorCounter = "") {
    SetupDocument document(XmlDocumentObject::writing);
    NodePtr list = document.root->addChild("OutputList");
    if (!colorCounter.empty()) Nerova::Utils::Serialization::writeText(*list, "ColorCounter", colorCounter);
    for (const auto& [name, id] : outputs) {
        NodePtr output = list->addChild(name);
        if (!id.empty()) output->addAttribute("Id", id);
    }
    document.root->setWriting(false);
    return document;
}

TEST_F(Factory, KeysAreTheSmallestFreeNumbers) {
    auto first = create();
    auto second = create();
    auto third = create();
    EXPECT_EQ(keysOf(factory), (std::vector<OutputChannelKey>{0, 1, 2}));
    EXPECT_EQ(host.group->channels().size(), 3u);
    EXPECT_EQ(host.group->pluginId(), "{VEXA-TEST}");

    factory.removeOutputChannel(second);
    EXPECT_EQ(host.group->findById(1), nullptr) << "the host channel goes with it";
    EXPECT_EQ(host.group->removals(), 1);
    EXPECT_EQ(create()->getKey(), 1u);
    EXPECT_EQ(keysOf(factory), (std::vector<OutputChannelKey>{0, 2, 1}));
}

TEST_F(Factory, NewChannelsAreConfiguredUsedActivatedAndAnnounced) {
    std::shared_ptr<OutputChannel> seen;
    auto channel = factory.createOutputChannel({HostDataType::Float, 0}, [&](const auto& c) { seen = c; });
    EXPECT_EQ(seen, channel);
    const auto& settings = hostOf(*channel).settings();
    EXPECT_EQ(settings.dataType, 5);
    EXPECT_FALSE(settings.asynchronous);
    EXPECT_FALSE(settings.singleValue);
    EXPECT_TRUE(settings.used);
    EXPECT_TRUE(settings.active);
    EXPECT_EQ(settings.retainMarks, 0);
    EXPECT_EQ(settings.name, "Channel");
    EXPECT_EQ(host.data->refreshCount, 1);
}

TEST_F(Factory, PaletteWrapsAfterSixtyFourAndRestartsAfterClearing) {
    std::vector<std::shared_ptr<OutputChannel>> channels;
    for (int i = 0; i < 65; ++i) channels.push_back(create());
    EXPECT_EQ(channels[0]->getHostColor(), 0x00FF00u);
    EXPECT_EQ(channels[1]->getHostColor(), 0xFFFF00u);
    EXPECT_EQ(channels[63]->getHostColor(), 0x02549Du);
    EXPECT_EQ(channels[64]->getHostColor(), 0x00FF00u);
    EXPECT_EQ(factory.colorCounter(), 65u);

    factory.clearChannels();
    EXPECT_TRUE(factory.entries().empty());
    EXPECT_EQ(host.group->channels().size(), 65u) << "clearing leaves the host's channels";
    // The host lets go of them itself; their identifiers are free again.
    while (!host.group->channels().empty()) host.group->RemoveChannel(host.group->channels().front().get());
    EXPECT_EQ(create()->getHostColor(), 0x00FF00u);
}

TEST_F(Factory, GetWithAnUnknownKeyCreatesWithAFreshKey) {
    create();
    auto channel = factory.getOutputChannel(42, timedDoubleChannel, nullptr);
    EXPECT_EQ(channel->getKey(), 1u);
    EXPECT_EQ(factory.getOutputChannel(1, timedDoubleChannel, nullptr), channel);

    factory.getOutputChannel(1, {HostDataType::Int16, 2}, nullptr);
    EXPECT_EQ(channel->getType(), (OutputChannelType{HostDataType::Int16, 2})) << "reconfigured to the asked type";
    host.data->retainChannels = true;
    factory.getOutputChannel(1, timedDoubleChannel, nullptr);
    EXPECT_EQ(channel->getType().dataType, HostDataType::Int16) << "kept host channels keep their type";
}

TEST_F(Factory, OneHostReadForANestedMountBracket) {
    factory.beginMultipleMount();
    factory.beginMultipleMount();
    std::vector<std::shared_ptr<OutputChannel>> channels;
    for (int i = 0; i < 5; ++i) channels.push_back(create());
    factory.removeOutputChannel(channels[2]);
    EXPECT_EQ(factory.endMultipleMount(), 1);
    EXPECT_EQ(host.data->refreshCount, 0);
    EXPECT_EQ(factory.endMultipleMount(), 0);
    EXPECT_EQ(host.data->refreshCount, 1);
    try {
        factory.endMultipleMount();
        ADD_FAILURE() << "no throw";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "endMultipleMount called too many times");
    }
    EXPECT_EQ(host.data->refreshCount, 1);
}

TEST_F(Factory, LoadBracketOutOfTurnIsReportedAndThrows) {
    const auto expectBracketError = [&](const auto& call) {
        try {
            call();
            ADD_FAILURE() << "no throw";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(e.what(), bracketError);
        }
    };
    SetupDocument document;
    expectBracketError([&] { factory.endLoadSetup(); });
    expectBracketError([&] { factory.loadSetup(*document.root); });
    factory.beginLoadSetup();
    expectBracketError([&] { factory.beginLoadSetup(); });
    EXPECT_TRUE(factory.isLoadingSetup()) << "a refused call changes nothing";
    factory.endLoadSetup();
    EXPECT_EQ(host.app->reportedErrors(), std::vector<std::string>(3, bracketError));
}

TEST_F(Factory, SetupWithoutOutputListChangesNothing) {
    create();
    create();
    SetupDocument empty(XmlDocumentObject::reading);
    factory.beginLoadSetup();
    factory.loadSetup(*empty.root);
    EXPECT_EQ(keysOf(factory), (std::vector<OutputChannelKey>{0, 1}));
    EXPECT_EQ(factory.colorCounter(), 2u);
}

TEST_F(Factory, LoadTakesTheFirstOutputOfEachIdAndSkipsStrangers) {
    // Outputs whose Id is no key are passed over like outputs without one.
    SetupDocument setup = setupWith({{"Output", "3"}, {"Other", "4"}, {"Output", ""}, {"Output", "3"},
                                     {"Output", "12a"}, {"Output", "-1"}, {"Output", "4294967296"}, {"Output", "5"}},
                                    "7");
    factory.beginLoadSetup();
    factory.loadSetup(*setup.root);
    EXPECT_EQ(keysOf(factory), (std::vector<OutputChannelKey>{3, 5}));
    EXPECT_EQ(factory.colorCounter(), 7u);
    EXPECT_EQ(host.group->channels().size(), 2u);
    EXPECT_EQ(host.data->refreshCount, 0) << "no host notification while loading";
    EXPECT_EQ(host.group->findById(3)->settings().dataType, 7);
    EXPECT_TRUE(host.group->findById(3)->settings().asynchronous);
}

TEST_F(Factory, BadColorCounterFailsTheLoad) {
    for (const auto& [text, code] : {std::pair{"12a", "Node does not contain expected type!"},
                                     std::pair{"99999999999999999999", "Value is out of range!"}}) {
        SetupDocument setup = setupWith({}, text);
        factory.beginLoadSetup();
        try {
            factory.loadSetup(*setup.root);
            ADD_FAILURE() << "no throw for " << text;
        } catch (const Nerova::Utils::Serialization::XmlException& e) {
            EXPECT_STREQ(e.what(), code);
        }
        factory.endLoadSetup();
    }
    EXPECT_EQ(factory.colorCounter(), 0u);
}

TEST_F(Factory, EndOfLoadRemovesChannelsThatNobodyTookUp) {
    SetupDocument setup = setupWith({{"Output", "0"}, {"Output", "1"}, {"Output", "2"}});
    factory.beginLoadSetup();
    factory.loadSetup(*setup.root);
    const auto kept = factory.getOutputChannel(1, timedDoubleChannel, nullptr);
    factory.endLoadSetup();
    EXPECT_EQ(keysOf(factory), (std::vector<OutputChannelKey>{1}));
    EXPECT_EQ(host.group->channels().size(), 1u);
    EXPECT_FALSE(factory.isLoadingSetup());

    host.data->retainChannels = true;
    factory.beginLoadSetup();
    factory.loadSetup(*setup.root);
    factory.endLoadSetup();
    EXPECT_EQ(keysOf(factory), (std::vector<OutputChannelKey>{1, 0, 2})) << "kept host channels all stay";
}

TEST_F(Factory, RetainedHostChannelsAreFoundByTheirStoredIndexPath) {
    auto original = create();
    SetupDocument saved;
    factory.saveSetup(*saved.root);
    const std::size_t hostChannels = host.group->channels().size();

    OutputFactoryImpl reloaded;
    bind(reloaded, host);
    host.data->retainChannels = true;
    saved.root->setWriting(false);
    reloaded.beginLoadSetup();
    reloaded.loadSetup(*saved.root);
    EXPECT_EQ(host.group->channels().size(), hostChannels) << "no new host channel";
    const auto& entry = reloaded.entries().at(0);
    EXPECT_EQ(entry.channel->hostChannel().get(), static_cast<HostChannel*>(&hostOf(*original)));

    auto created = reloaded.createOutputChannel(timedDoubleChannel, nullptr);
    EXPECT_EQ(hostOf(*created).settings().retainMarks, 1);
    EXPECT_FALSE(created->isUsed()) << "made during a load of kept channels";
    reloaded.endLoadSetup();
}

TEST_F(Factory, SaveWritesOutputsInListOrder) {
    SetupDocument setup = setupWith({{"Output", "4"}, {"Output", "2"}});
    factory.beginLoadSetup();
    factory.loadSetup(*setup.root);
    const auto four = factory.getOutputChannel(4, timedDoubleChannel, nullptr);
    const auto two = factory.getOutputChannel(2, timedDoubleChannel, nullptr);
    factory.endLoadSetup();

    SetupDocument saved;
    factory.saveSetup(*saved.root);
    NodePtr list = saved.root->findChild("OutputList");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->findAttribute("Version")->text(), "1");
    EXPECT_EQ(list->readValue("ColorCounter", ""), "0");
    std::vector<std::string> ids;
    for (std::uint32_t i = 0; i < list->childCount(); ++i) {
        NodePtr child = list->childAt(i);
        if (child->name() == "Output") ids.push_back(child->findAttribute("Id")->text());
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"4", "2"}));
}

TEST_F(Factory, AlignsSynchronousChannelsToTheAcquisitionPosition) {
    auto synchronous = create({HostDataType::Double, 0});
    auto timed = create();
    hostOf(*synchronous).setBufferLength(1000);
    hostOf(*timed).settings().bufferOffset = -1;
    host.data->blockCount = 3;
    host.data->blockSize = 256;
    host.data->offset = 7;
    factory.alignBufferPositions();
    EXPECT_EQ(hostOf(*synchronous).settings().bufferOffset, 775);
    EXPECT_EQ(hostOf(*timed).settings().bufferOffset, -1);
}

TEST_F(Factory, GroupsChannelsByKey) {
    for (int i = 0; i < 6; ++i) create();
    factory.groupOutputChannels({0, 3, 5}, "Device A");
    ASSERT_EQ(host.group->groupings().size(), 1u);
    EXPECT_EQ(host.group->groupings()[0].keys, (std::vector<std::int32_t>{0, 3, 5}));
    EXPECT_EQ(host.group->groupings()[0].text, "Device A");
    EXPECT_EQ(host.group->groupings()[0].pluginId, "{VEXA-TEST}");
}

TEST(FactoryWithoutHost, RefusesHostCallsWithEPointer) {
    OutputFactoryImpl factory;
    EXPECT_EQ(comResultOf([&] { factory.createOutputChannel(timedDoubleChannel, nullptr); }), E_POINTER);
    EXPECT_TRUE(factory.entries().empty()) << "the half-made entry is taken back";
    EXPECT_EQ(comResultOf([&] { factory.beginLoadSetup(); }), E_POINTER);
    EXPECT_FALSE(factory.isLoadingSetup()) << "no load opens that could not be closed";
    EXPECT_EQ(comResultOf([&] { factory.endLoadSetup(); }), E_POINTER);
}

}  // namespace
}  // namespace output_test
