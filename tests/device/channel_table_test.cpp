// Channel lists, colours and output channels, and the channel list text a
// device answers CFG? with.
#include <gtest/gtest.h>

#include "device/channel_table.h"
#include "device/configuration.h"
#include "output/output_channel.h"
#include "output/output_factory.h"
#include "support/test_host.h"

using Nerova::Utils::Ncom::OutputChannel::OutputFactoryImpl;
using vexa::host::asInterface;
using vexa::host::TestHost;

namespace {

class ChannelModel : public ::testing::Test {
protected:
    ChannelModel() {
        factory.setHost(asInterface<HostApp>(host.app), host.pluginId,
                        static_cast<HostChannelGroup*>(host.group.get()));
    }

    std::vector<std::string> fullNames(const std::string& group) const {
        std::vector<std::string> names;
        for (const auto& channel : table.channels(group)) names.push_back(channel->fullName());
        return names;
    }

    TestHost host;
    OutputFactoryImpl factory;
    VexaChannelTable table{&factory};
};

std::vector<std::string> summary(const std::vector<ConfiguredChannel>& channels) {
    std::vector<std::string> lines;
    for (const auto& c : channels) {
        lines.push_back(std::to_string(c.index) + "|" + c.fullName + "|" + c.group + "|" + c.name + "|" + c.unit);
    }
    return lines;
}

}  // namespace

TEST_F(ChannelModel, AChannelIsOneObjectInItsGroupAndInAllChannels) {
    table.addChannel(1, "Engine/Speed", "Engine", "Speed", "Speed", "rpm");
    table.addChannel(2, "Torque", "allChannels", "Torque", "Torque", "Nm");
    EXPECT_EQ(fullNames("allChannels"), (std::vector<std::string>{"Engine/Speed", "Torque"}));
    EXPECT_EQ(table.channelCount(), 2u);
    EXPECT_EQ(table.channels("Engine")[0], table.channels("allChannels")[0]) << "one object, two lists";
    EXPECT_TRUE(table.channels("Nowhere").empty());
    EXPECT_EQ(table.groups().count("Nowhere"), 0u) << "a look-up adds no group";
}

TEST_F(ChannelModel, ColoursFollowThePaletteAndRepeatAfterSixtyOneChannels) {
    EXPECT_EQ(channelColour(1), 0x00FF00u);
    EXPECT_EQ(channelColour(62), 0x00FF00u);
    EXPECT_EQ(channelColour(61), 0xC0C0C0u);
    EXPECT_EQ(channelColour(31), channelColour(32));
    table.addChannel(3, "a/b", "a", "b", "b", "");
    EXPECT_EQ(table.channels("a")[0]->colour(), 0xFF0000u);
}

TEST_F(ChannelModel, OutputChannelTakesNameUnitAndColourAndGoesWithTheChannel) {
    table.addChannel(1, "x", "allChannels", "x", "x", "");
    table.clearLists();
    EXPECT_EQ(host.group->removals(), 0) << "a channel without output leaves the factory alone";

    table.addChannel(2, "Engine/Speed", "Engine", "Speed", "Engine speed", "rpm");
    auto channel = table.channels("Engine")[0];
    channel->createOutput(0xFFFFFFFFu);
    ASSERT_TRUE(channel->output());
    ASSERT_EQ(host.group->channels().size(), 1u);
    const auto& settings = host.group->channels()[0]->settings();
    EXPECT_EQ(settings.name, "Engine speed");
    EXPECT_EQ(settings.unit, "rpm");
    EXPECT_EQ(settings.dataType, 7);
    EXPECT_TRUE(settings.asynchronous);

    channel.reset();
    table.clearLists();  // the last reference goes
    EXPECT_EQ(host.group->removals(), 1);
    EXPECT_TRUE(factory.entries().empty());
}

TEST(Configuration, ChannelEntriesAreNumberedInReplyOrderAndSplitIntoGroupAndName) {
    const auto channels = parseConfiguration(
        "channel 7 name 'Engine/Speed.avg' unit 'rpm' channel 3 name 'a.b.c' unit '' "
        "channel 9 name 'Engine/' unit 'V' channel 1 name '' unit 'A' "
        "channel 2 name 'Torque' unit 'Nm';\n");
    EXPECT_EQ(summary(channels), (std::vector<std::string>{
                                     "1|Engine/Speed.avg|Engine|Speed.avg|rpm",
                                     "2|a.b.c|a.b|c|",
                                     "3|Engine/|Engine||V",
                                     "4||allChannels||A",
                                     "5|Torque|allChannels|Torque|Nm",
                                 }));
}

TEST(Configuration, MissingKeywordsAndQuotesFallBackToTheStartOrEndOfTheText) {
    EXPECT_TRUE(parseConfiguration("").empty());
    EXPECT_TRUE(parseConfiguration("no channels here;\n").empty());
    // Without " unit" the unit's quotes are searched from the start.
    EXPECT_EQ(summary(parseConfiguration("'q' channel 1 name 'a/b'")),
              (std::vector<std::string>{"1|a/b|a|b|q"}));
    // An unclosed quote runs to the end of the text.
    EXPECT_EQ(summary(parseConfiguration("channel 1 name 'x/y' unit 'mV")),
              (std::vector<std::string>{"1|x/y|x|y|mV"}));
}
