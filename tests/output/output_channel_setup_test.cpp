// A whole factory through a setup file into a fresh host.
#include <filesystem>

#include "support/output_fixture.h"

namespace output_test {
namespace {

struct Expected {
    OutputChannelKey key;
    std::string name;
    std::string unit;
    std::uint32_t color;
    bool used;
    bool stored;
    bool automaticName;
};

using SetupRoundTrip = OutputTest;

TEST_F(SetupRoundTrip, RestoresEveryChannelFromTheFile) {
    std::vector<std::shared_ptr<OutputChannel>> channels;
    for (int i = 0; i < 4; ++i) channels.push_back(create());
    factory.removeOutputChannel(channels[1]);  // leaves a gap in the keys
    channels[0]->setName("Pressure");
    channels[0]->setUnit("bar");
    channels[0]->setStored(true);
    channels[2]->setName("Flow");
    channels[2]->setUnit("l/min");
    channels[2]->setColor(0x102030);
    hostOf(*channels[2]).settings().name = "Inlet flow";  // renamed by the user
    channels[3]->setName("Valve \xC2\xB5" "A <1> & \"2\"");
    channels[3]->setUsed(false);

    std::vector<Expected> expected;
    for (const std::size_t i : {0u, 2u, 3u}) {
        const auto& channel = channels[i];
        expected.push_back({channel->getKey(), channel->getHostName(), channel->getHostUnit(),
                            channel->getHostColor(), channel->isUsed(), channel->isStored(),
                            channel->isAutomaticName()});
    }

    const auto path = std::filesystem::temp_directory_path() / "vexa-output-setup-round-trip.xml";
    {
        SetupDocument saving;
        factory.saveSetup(*saving.root);
        saving.object->save(path);
    }

    TestHost freshHost;
    OutputFactoryImpl restored;
    bind(restored, freshHost);
    auto document = XmlDocumentObject::load(path);
    std::filesystem::remove(path);
    SetupDocument loading(XmlDocumentObject::reading);
    loading.object = document;
    loading.root = Nerova::Utils::Ncom::Utils::rootNode(asInterface<HostXmlDocument>(document));

    restored.beginLoadSetup();
    restored.loadSetup(*loading.root);
    // The devices take up their channels by key during the load.
    std::vector<std::shared_ptr<OutputChannel>> taken;
    for (const Expected& e : expected) taken.push_back(restored.getOutputChannel(e.key, timedDoubleChannel, nullptr));
    restored.endLoadSetup();

    ASSERT_EQ(restored.entries().size(), expected.size());
    EXPECT_EQ(restored.colorCounter(), 4u);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Expected& e = expected[i];
        const auto& channel = taken[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(restored.entries()[i].key, e.key);
        EXPECT_EQ(channel->getKey(), e.key);
        EXPECT_EQ(channel->getHostName(), e.name);
        EXPECT_EQ(channel->getHostUnit(), e.unit);
        EXPECT_EQ(channel->getHostColor(), e.color);
        EXPECT_EQ(channel->isUsed(), e.used);
        EXPECT_EQ(channel->isStored(), e.stored);
        EXPECT_EQ(channel->isAutomaticName(), e.automaticName);
        EXPECT_NE(freshHost.group->findById(static_cast<LONG>(e.key)), nullptr);
    }

    // The user's name survives later automatic updates, the others follow.
    taken[1]->setName("Flow 2");
    taken[0]->setName("Pressure 2");
    EXPECT_EQ(taken[1]->getHostName(), "Inlet flow");
    EXPECT_EQ(taken[0]->getHostName(), "Pressure 2");
    EXPECT_EQ(restored.createOutputChannel(timedDoubleChannel, nullptr)->getKey(), 1u);
}

}  // namespace
}  // namespace output_test
