// One output channel against its host channel.
#include <stdexcept>

#include "output/axis_properties.h"
#include "output/properties.h"
#include "support/output_fixture.h"
#include "serialization/node_values.h"

namespace output_test {
namespace {

using namespace Nerova::Utils::Ncom::Utils;

class Channel : public OutputTest {
protected:
    void SetUp() override {
        channel = create();
        hostChannel = &hostOf(*channel);
    }

    std::shared_ptr<OutputChannel> channel;
    ChannelObject* hostChannel = nullptr;
};

TEST_F(Channel, AutomaticValuesReachTheHostUntilTheUserChangesThem) {
    channel->setName("Temperature");
    channel->setUnit("degC");
    EXPECT_EQ(hostChannel->settings().name, "Temperature");
    EXPECT_EQ(hostChannel->settings().unit, "degC");

    // The palette colour of a new channel counts as a choice made in the
    // host: the automatic colour is only remembered.
    channel->setColor(0x0000FF);
    EXPECT_EQ(hostChannel->settings().color, 0x00FF00);
    EXPECT_FALSE(channel->isAutomaticColor());
    channel->setHostColor(0x0000FF);
    EXPECT_TRUE(channel->isAutomaticColor());
    channel->setColor(0x00AA00);
    EXPECT_EQ(hostChannel->settings().color, 0x00AA00);

    hostChannel->settings().name = "Oven";  // the user renames it in the host
    channel->setName("Temperature 2");
    EXPECT_EQ(hostChannel->settings().name, "Oven");
    EXPECT_FALSE(channel->isAutomaticName());
    EXPECT_TRUE(channel->isAutomaticUnit());

    channel->setHostColor(0x112233);
    EXPECT_FALSE(channel->isAutomaticColor());

    SetupDocument document;
    channel->saveSetup(*document.root);
    EXPECT_EQ(document.root->readValue("IsAutomaticName", "missing"), "False");
    EXPECT_EQ(document.root->readValue("IsAutomaticUnit", "missing"), "missing") << "true is the default";
    EXPECT_EQ(document.root->readValue("IsAutomaticColor", "missing"), "False");
}

TEST_F(Channel, TypeComesFromTheHostsKindFlags) {
    EXPECT_EQ(channel->getType(), timedDoubleChannel);
    hostChannel->settings().singleValue = true;
    EXPECT_EQ(channel->getType().kind, static_cast<std::uint32_t>(OutputChannelKind::SingleValue));
    hostChannel->settings().singleValue = false;
    hostChannel->settings().asynchronous = false;
    hostChannel->SetDataType(HostDataType::Int32);
    EXPECT_EQ(channel->getType(), (OutputChannelType{HostDataType::Int32, 0}));
}

TEST_F(Channel, EntryListIndicesAreCheckedAndIdsLookedUp) {
    channel->setEntries({{1, "one", 10}, {2, "two", 20}, {3, "three", 30}});
    ASSERT_EQ(channel->entryCount(), 3u);
    try {
        channel->removeEntry(3);
        ADD_FAILURE() << "no throw";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "Index out of bounds");
    }
    EXPECT_THROW(channel->setEntry(3, {}), std::out_of_range);
    channel->removeEntry(2);
    EXPECT_EQ(channel->getEntries(), (std::vector<EntryDescription>{{1, "one", 10}, {2, "two", 20}}));

    channel->addOrUpdateEntry({2, "zwei", 22});
    channel->addOrUpdateEntry({5, "five", 50});
    const EntryLookup two = channel->getEntryById(2);
    EXPECT_TRUE(two.found);
    EXPECT_EQ(two.name, "zwei");
    EXPECT_EQ(two.value, 22u);
    const EntryLookup missing = channel->getEntryById(9);
    EXPECT_FALSE(missing.found);
    EXPECT_EQ(missing.value, 0xFFFFFFu);

    channel->removeEntryById(1);
    channel->removeEntryById(9);
    channel->setEntry(0, {7, "seven", 70});
    EXPECT_EQ(channel->getEntries(), (std::vector<EntryDescription>{{7, "seven", 70}, {5, "five", 50}}));
    channel->clearEntries();
    EXPECT_EQ(channel->entryCount(), 0u);
}

TEST_F(Channel, OnlySynchronousChannelsAlignTheirBuffers) {
    hostChannel->setBufferLength(100);
    hostChannel->settings().bufferOffset = -7;
    auto& impl = static_cast<OutputChannelImpl&>(*channel);
    impl.alignBufferPosition(1234);
    EXPECT_EQ(hostChannel->settings().bufferOffset, -7) << "asynchronous channels are left alone";

    hostChannel->settings().asynchronous = false;
    hostChannel->AdvanceWritePosition(30);
    impl.alignBufferPosition(1234);
    EXPECT_EQ(hostChannel->settings().bufferOffset, 4);
    impl.alignBufferPosition(1210);
    EXPECT_EQ(hostChannel->settings().bufferOffset, 80) << "a negative distance wraps around the buffer";
    hostChannel->settings().valuesPerSample = 2;
    impl.alignBufferPosition(1210);
    EXPECT_EQ(hostChannel->settings().bufferOffset, 150);
}

TEST_F(Channel, ArrayAxesAreDescribedToTheHost) {
    AxisPropertiesFloatLinearFunc time;
    time.setSize(256);
    time.setStart(0.5);
    time.setStep(0.25);
    time.setName("Time");
    time.setKind(5);
    AxisPropertiesString bands;
    bands.labels = {"low", "high"};
    bands.setFlag(true);
    channel->defineArrayAxes(time, bands, true);

    const auto& description = hostChannel->arrayDescription();
    EXPECT_TRUE(hostChannel->settings().carriesArrays);
    EXPECT_TRUE(description.flag);
    EXPECT_EQ(description.sizes, (std::vector<LONGLONG>{256, 2}));
    EXPECT_EQ(description.commits, 1);
    const auto& first = *description.axes.at(0);
    EXPECT_EQ(first.type, 2);
    EXPECT_EQ(first.start, 0.5);
    EXPECT_EQ(first.step, 0.25);
    EXPECT_EQ(first.name, "Time");
    EXPECT_EQ(first.unit, "-");
    EXPECT_EQ(first.precision, 3);
    EXPECT_EQ(first.options->kind, 0) << "an unknown kind goes to the host as 0";
    const auto& second = *description.axes.at(1);
    EXPECT_EQ(second.type, 1);
    EXPECT_EQ(second.labels, (std::map<LONG, std::string>{{0, "low"}, {1, "high"}}));
    EXPECT_TRUE(second.options->flag);
    EXPECT_EQ(channel->getArrayAxes().size(), 2u);

    time.setPrecision(-1);
    EXPECT_EQ(time.precision(), 3) << "a negative precision is refused";
    channel->defineArrayAxis(time);
    EXPECT_FALSE(description.flag);
    EXPECT_EQ(description.axes.size(), 1u);

    channel->setArrayDimensions({4, 8});
    EXPECT_EQ(hostChannel->settings().integer140, 2);
    EXPECT_EQ(hostChannel->settings().integer138, 4);
    EXPECT_EQ(hostChannel->settings().dimensions, (std::vector<std::int32_t>{4, 8}));
}

TEST_F(Channel, PropertyDocumentsAreFoundMadeAndFilled) {
    Properties& properties = channel->getProperties();
    EXPECT_FALSE(properties.getProperty("Calibration"));
    NodePtr added = properties.addProperty("Calibration");
    ASSERT_TRUE(added);
    EXPECT_TRUE(added->isValid());
    Nerova::Utils::Serialization::writeText(*added, "Factor", "1.5");

    SetupDocument other;
    NodePtr extra = other.root->addChild("Extra");
    extra->setText("copied");
    NodePtr root = properties.getPropertyInto("Calibration", extra);
    EXPECT_EQ(root->readValue("Factor", ""), "1.5");
    EXPECT_EQ(root->findChild("Extra")->text(), "copied");
    EXPECT_FALSE(properties.getPropertyInto("Unknown", extra));

    factory.detachAllHostChannels();
    EXPECT_EQ(comResultOf([&] { properties.getProperty("Calibration"); }), E_POINTER);
}

TEST_F(Channel, RefreshIndexPathPointsTheSetupAtTheChannelsNewPlace) {
    SetupDocument document;
    NodePtr output = document.root->addChild("Output");
    channel->saveSetup(*output);
    EXPECT_EQ(output->findChild("OutputChannel")->readValue("Index", ""), "1:0");

    hostChannel->settings().indexPath = {2, 5};
    hostChannel->settings().active = false;
    const int refreshes = host.data->refreshCount;
    channel->refreshIndexPath(*output);
    EXPECT_EQ(channel->getIndexPath(), "2:5");
    EXPECT_EQ(output->findChild("OutputChannel")->readValue("Index", ""), "2:5");
    EXPECT_TRUE(hostChannel->settings().active);
    EXPECT_EQ(host.data->refreshCount, refreshes + 1);
}

}  // namespace
}  // namespace output_test
