// The reference host's channel buffers.
#include <gtest/gtest.h>

#include <cstring>

#include "host/objects/channel_group.h"

namespace {

using namespace vexa::host;

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

}  // namespace
