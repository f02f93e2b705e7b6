// The reference host's channel buffers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

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

namespace {

// Writes samples valued 0, 1, 2, ... with time stamps `step` seconds apart,
// as a plug-in does: value and time at the write position, then advance.
struct Writer {
    ChannelObject& channel;
    double step;
    int next = 0;

    void write(int count) {
        for (int i = 0; i < count; ++i, ++next) {
            BYTE* samples = nullptr;
            DOUBLE* times = nullptr;
            channel.GetSampleBuffer(&samples);
            channel.GetTimeBuffer(&times);
            const double value = next;
            std::memcpy(samples + channel.writePosition() * 8, &value, 8);
            times[channel.writePosition()] = next * step;
            channel.AdvanceWritePosition(1);
        }
    }
};

// The values of the samples the channel still holds, oldest first.
std::vector<double> held(const ChannelObject& channel) {
    std::vector<double> values;
    for (std::uint64_t n = channel.oldestHeld(); n < channel.samplesWritten(); ++n)
        values.push_back(channel.valueAt(channel.positionOf(n)));
    return values;
}

}  // namespace

TEST(HostChannelBuffers, UnreadSamplesGrowTheRingWhileTheySpanLessThanTheHoldTime) {
    struct Case {
        double holdSeconds;
        double step;   // seconds between time stamps
        int readEvery;  // the reader marks what was written every this many samples; 0: never
        LONG length;    // the ring's length after 20 samples
        std::uint64_t oldest;
    };
    const Case cases[] = {
        {0.0, 0.01, 0, 4, 16},   // no growth: a ring like the host's own
        {1.0, 0.01, 0, 32, 0},   // 20 unread samples span 0.19 s: it grows
        {0.05, 0.01, 0, 8, 12},  // it stops growing at 8 samples that span 0.07 s
        {1.0, 0.01, 3, 4, 16},   // a reader that keeps up: no growth needed
    };
    for (const Case& c : cases) {
        const std::string where = "hold " + std::to_string(c.holdSeconds) + ", read every " + std::to_string(c.readEvery);
        auto channel = makeHostObject<ChannelObject>(4);
        channel->setHoldSeconds(c.holdSeconds);
        Writer writer{*channel, c.step};
        for (int i = 0; i < 20; ++i) {
            writer.write(1);
            if (c.readEvery != 0 && (i + 1) % c.readEvery == 0) channel->markRead(channel->samplesWritten());
        }
        EXPECT_EQ(channel->bufferLength(), c.length) << where;
        EXPECT_EQ(channel->samplesWritten(), 20u) << where;
        EXPECT_EQ(channel->oldestHeld(), c.oldest) << where;
        std::vector<double> expected;
        for (auto n = c.oldest; n < 20; ++n) expected.push_back(static_cast<double>(n));
        EXPECT_EQ(held(*channel), expected) << where << ": in order, whatever grew";
    }
}

TEST(HostChannelBuffers, ANewLengthKeepsTheNewestSamplesAndANewTypeStartsEmpty) {
    auto channel = makeHostObject<ChannelObject>(8);
    Writer writer{*channel, 0.01};
    writer.write(10);
    channel->setBufferLength(4);
    EXPECT_EQ(held(*channel), (std::vector<double>{6, 7, 8, 9}));
    channel->setBufferLength(16);
    writer.write(2);
    EXPECT_EQ(held(*channel), (std::vector<double>{6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(channel->samplesWritten(), 12u) << "numbers go on across new buffers";

    ASSERT_EQ(channel->SetDataType(5), S_OK);
    EXPECT_EQ(channel->oldestHeld(), 12u) << "samples of the old type are gone";
    EXPECT_TRUE(held(*channel).empty());
}
