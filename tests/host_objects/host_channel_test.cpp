// The reference host's channels, channel group and data object.
#include <gtest/gtest.h>

#include <cstring>

#include "host/objects/channel_group.h"
#include "platform/host_string.h"
#include "platform/variant.h"

namespace {

using vexa::ComPtr;
using vexa::SafeArray;
using vexa::Variant;
using namespace vexa::host;

Variant integers(const std::vector<LONG>& values) {
    SafeArray array(VT_I4, 0, static_cast<ULONG>(values.size()));
    for (LONG i = 0; i < static_cast<LONG>(values.size()); ++i) {
        LONG value = values[static_cast<std::size_t>(i)];
        SafeArrayPutElement(array.get(), &i, &value);
    }
    return Variant::ofArray(std::move(array));
}

TEST(HostChannelBuffers, WritePositionWrapsAndTheValuesStayReadable) {
    auto channel = vexa::host::makeHostObject<ChannelObject>(3);
    BYTE* samples = nullptr;
    DOUBLE* times = nullptr;
    ASSERT_EQ(channel->GetSampleBuffer(&samples), S_OK);
    ASSERT_EQ(channel->GetTimeBuffer(&times), S_OK);
    for (int i = 0; i < 4; ++i) {
        const double value = 10.0 + i;
        std::memcpy(samples + channel->writePosition() * 8, &value, 8);
        times[channel->writePosition()] = i * 0.5;
        ASSERT_EQ(channel->AdvanceWritePosition(1), S_OK);
    }
    EXPECT_EQ(channel->writePosition(), 1);
    EXPECT_EQ(channel->samplesWritten(), 4u);
    EXPECT_EQ(channel->valueAt(0), 13.0) << "the fourth sample overwrote the first";
    EXPECT_EQ(channel->valueAt(2), 12.0);
    EXPECT_EQ(channel->timeAt(0), 1.5);
    EXPECT_EQ(channel->AdvanceWritePosition(-1), E_INVALIDARG);
}

TEST(HostChannelBuffers, DataTypeSetsValueSizeAndMakesNewBuffers) {
    auto channel = vexa::host::makeHostObject<ChannelObject>(4);
    channel->AdvanceWritePosition(2);
    ASSERT_EQ(channel->SetDataType(2), S_OK);
    LONG size = 0;
    channel->GetValueSize(&size);
    EXPECT_EQ(size, 2);
    EXPECT_EQ(channel->writePosition(), 0);
    EXPECT_EQ(channel->SetDataType(11), E_INVALIDARG);

    const std::int16_t sample = -300;
    EXPECT_EQ(sampleToDouble(2, reinterpret_cast<const std::byte*>(&sample), 2), -300.0);
    const double complex[2] = {3.0, 4.0};
    EXPECT_EQ(sampleToDouble(10, reinterpret_cast<const std::byte*>(complex), 16), 5.0);
    EXPECT_EQ(sampleToDouble(10, reinterpret_cast<const std::byte*>(complex), 8), 0.0);
}

TEST(HostChannelGroup, CreatesChannelsWithIdentifiersAndFindsThemByIndexPath) {
    auto group = makeHostObject<ChannelGroupObject>(4);
    auto data = makeHostObject<AcquisitionDataObject>(group);
    vexa::HostString pluginId("plug-in");
    Variant ids = integers({7});
    ComPtr<HostChannel> created;
    ASSERT_EQ(group->CreateChannels(pluginId.get(), 1, ids.get(), created.put()), S_OK);
    ASSERT_EQ(group->channels().size(), 1u);
    EXPECT_EQ(group->findById(7)->settings().indexPath, (std::vector<std::int32_t>{4, 0}));
    EXPECT_EQ(group->pluginId(), "plug-in");

    Variant path = integers({4, 0});
    ComPtr<HostChannel> found;
    ASSERT_EQ(data->FindChannel(path.get(), found.put()), S_OK);
    EXPECT_EQ(found.get(), created.get());
    Variant elsewhere = integers({4, 1});
    ASSERT_EQ(data->FindChannel(elsewhere.get(), found.put()), S_OK);
    EXPECT_FALSE(found);

    Variant tooFew = integers({});
    EXPECT_EQ(group->CreateChannels(pluginId.get(), 1, tooFew.get(), found.put()), E_INVALIDARG);
    ASSERT_EQ(group->RemoveChannel(created.get()), S_OK);
    EXPECT_EQ(group->RemoveChannel(created.get()), E_INVALIDARG);
    EXPECT_TRUE(group->channels().empty());

    ComPtr<HostDataModel> model;
    ASSERT_EQ(data->GetModel(model.put()), S_OK);
    ComPtr<IUnknown> item;
    ASSERT_EQ(model->GetItem(8, item.put()), S_OK);
    EXPECT_EQ(item.tryQuery<HostChannelGroup>().get(), static_cast<HostChannelGroup*>(group.get()));
}

TEST(HostChannelSettings, SurviveADocumentIntoAFreshChannel) {
    auto group = makeHostObject<ChannelGroupObject>();
    ChannelPtr channel = group->addChannel(3);
    ChannelSettings& settings = channel->settings();
    settings.name = "Pressure";
    settings.unit = "bar";
    settings.color = 0x123456;
    settings.used = true;
    settings.stored = true;
    settings.asynchronous = true;
    channel->SetDataType(5);

    auto document = XmlDocumentObject::create("Setup");
    Variant documentArgument = Variant::ofDispatch(static_cast<HostXmlDocument*>(document.get()));
    Variant elementArgument = Variant::ofDispatch(static_cast<HostXmlElement*>(&document->root()));
    ASSERT_EQ(channel->SerializeSettings(documentArgument.get(), elementArgument.get(), VARIANT_TRUE), S_OK);
    EXPECT_EQ(document->root().findChild("OutputChannel")->findChild("Index")->text(), "1:0");

    ChannelPtr fresh = group->addChannel(9);
    ASSERT_EQ(fresh->SerializeSettings(documentArgument.get(), elementArgument.get(), VARIANT_FALSE), S_OK);
    EXPECT_EQ(fresh->settings().name, "Pressure");
    EXPECT_EQ(fresh->settings().unit, "bar");
    EXPECT_EQ(fresh->settings().color, 0x123456);
    EXPECT_TRUE(fresh->settings().used);
    EXPECT_TRUE(fresh->settings().stored);
    EXPECT_TRUE(fresh->settings().asynchronous);
    EXPECT_EQ(fresh->settings().dataType, 5);
    EXPECT_EQ(fresh->settings().indexPath, (std::vector<std::int32_t>{1, 1})) << "its place is its own";

    Variant notAnObject = Variant::ofInt32(1);
    EXPECT_EQ(fresh->SerializeSettings(notAnObject.get(), elementArgument.get(), VARIANT_TRUE), E_INVALIDARG);
}

}  // namespace
