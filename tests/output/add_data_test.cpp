// Where samples go in each host state.
#include <cmath>
#include <cstring>

#include "support/output_fixture.h"

namespace output_test {
namespace {

class AddData : public OutputTest {
protected:
    void SetUp() override {
        channel = create();
        hostChannel = &hostOf(*channel);
    }
    void addTimed(double value, double time, std::size_t size = sizeof(double)) {
        channel->addTimedSample(&value, size, time);
    }

    std::shared_ptr<OutputChannel> channel;
    ChannelObject* hostChannel = nullptr;
};

TEST_F(AddData, UsedChannelDuringAcquisitionWritesValueAndTimeAtTheWritePosition) {
    hostChannel->AdvanceWritePosition(5);
    addTimed(1.25, 10.0);
    addTimed(2.5, 10.5);
    EXPECT_EQ(hostChannel->writePosition(), 7);
    EXPECT_EQ(hostChannel->valueAt(5), 1.25);
    EXPECT_EQ(hostChannel->timeAt(6), 10.5);
    EXPECT_EQ(channel->lastValue(), 0.0) << "no preview outside setup";
}

TEST_F(AddData, UnusedChannelDropsSamplesUntilTheNextRefreshAfterItIsUsed) {
    channel->setUsed(false);
    factory.refreshAddData();
    addTimed(1.0, 1.0);
    EXPECT_EQ(hostChannel->samplesWritten(), 0u);

    channel->setUsed(true);
    addTimed(2.0, 2.0);
    EXPECT_EQ(hostChannel->samplesWritten(), 0u) << "the strategy follows the host only when refreshed";
    factory.refreshAddData();
    addTimed(3.0, 3.0);
    EXPECT_EQ(hostChannel->samplesWritten(), 1u);
    EXPECT_EQ(hostChannel->valueAt(0), 3.0);
}

TEST_F(AddData, InSetupKeepsTheScaledPreviewAndWritesOnlyUsedChannels) {
    hostChannel->settings().scale = 2.0;
    hostChannel->settings().offset = 1.0;
    host.app->setSetupFlag(VARIANT_TRUE);
    factory.refreshAddData();
    addTimed(4.0, 1.0);
    EXPECT_EQ(channel->lastValue(), 9.0);
    EXPECT_EQ(hostChannel->samplesWritten(), 1u);

    hostChannel->settings().used = false;  // no refresh needed: setup asks every time
    addTimed(5.0, 2.0);
    EXPECT_EQ(channel->lastValue(), 11.0);
    EXPECT_EQ(hostChannel->samplesWritten(), 1u);
}

TEST_F(AddData, InSetupAUsedChannelRecordsWhatAcquisitionWouldAcrossTheRingsEnd) {
    // The same samples through the setup path and the acquisition path, on
    // a ring of four whose write position is at its last slot: the second
    // sample wraps to the first slot. Only the setup path previews.
    struct Case {
        VARIANT_BOOL setup;
        LONG arraySize;
    };
    for (const Case c :
         {Case{VARIANT_FALSE, 1}, Case{VARIANT_TRUE, 1}, Case{VARIANT_FALSE, 2}, Case{VARIANT_TRUE, 2}}) {
        const std::string where = std::string(c.setup ? "setup" : "acquisition") + ", arrays of " +
                                  std::to_string(c.arraySize);
        host.app->setSetupFlag(c.setup);
        const auto fresh = create();
        ChannelObject& ring = hostOf(*fresh);
        ring.settings().scale = 2.0;
        ring.settings().offset = 1.0;
        ring.setArraySize(c.arraySize);
        ring.setBufferLength(4);
        ring.AdvanceWritePosition(3);
        const double samples[3][2] = {{1.25, -1.0}, {2.5, -2.0}, {3.75, -3.0}};
        for (int i = 0; i < 3; ++i) {
            const double time = 10.0 + 0.5 * i;
            if (c.arraySize == 1) fresh->addTimedSample(samples[i], sizeof(double), time);
            else fresh->addTimedArraySample(samples[i], sizeof samples[i], time);
        }
        EXPECT_EQ(ring.writePosition(), 2) << where;
        const LONG positions[] = {3, 0, 1};
        for (int i = 0; i < 3; ++i) {
            double stored[2] = {0.0, 0.0};
            std::memcpy(stored, ring.sampleAt(positions[i]), sizeof(double) * static_cast<std::size_t>(c.arraySize));
            EXPECT_EQ(stored[0], samples[i][0]) << where << ", sample " << i;
            if (c.arraySize == 2) {
                EXPECT_EQ(stored[1], samples[i][1]) << where << ", sample " << i;
            }
            EXPECT_EQ(ring.timeAt(positions[i]), 10.0 + 0.5 * i) << where << ", sample " << i;
        }
        EXPECT_EQ(ring.timeAt(2), 0.0) << where << ": the slot before the first write is untouched";
        EXPECT_EQ(fresh->lastValue(), c.setup ? 8.5 : 0.0) << where;
    }
}

TEST_F(AddData, PreviewNeedsTheHostsOwnTrueAndAWholeDouble) {
    hostChannel->settings().scale = 3.0;
    host.app->setSetupFlag(1);
    factory.refreshAddData();
    addTimed(7.0, 1.0);
    EXPECT_EQ(channel->lastValue(), 0.0) << "only VARIANT_TRUE means setup";
    EXPECT_EQ(hostChannel->samplesWritten(), 1u);

    host.app->setSetupFlag(VARIANT_TRUE);
    factory.refreshAddData();
    addTimed(7.0, 1.0, 4);
    EXPECT_EQ(channel->lastValue(), 0.0);
    addTimed(7.0, 1.0, 8);
    EXPECT_EQ(channel->lastValue(), 21.0);
}

TEST_F(AddData, ArraysSingleValuesAndBinarySamplesStayWithinOneSample) {
    hostChannel->setArraySize(2);
    const double values[3] = {1.0, 2.0, 3.0};
    channel->addTimedArraySample(values, sizeof values, 4.0);
    EXPECT_EQ(hostChannel->writePosition(), 1);
    double stored[2];
    std::memcpy(stored, hostChannel->sampleAt(0), sizeof stored);
    EXPECT_EQ(stored[1], 2.0);
    EXPECT_EQ(hostChannel->valueAt(1), 0.0) << "the third value is not copied into the next sample";

    channel->setValue(&values[2], 8);
    EXPECT_EQ(hostChannel->valueAt(0), 3.0);
    EXPECT_EQ(hostChannel->writePosition(), 1) << "single values do not advance";

    const std::uint8_t bytes[3] = {1, 2, 255};
    channel->addTimedBinarySample(bytes, sizeof bytes, 6.5);
    ASSERT_EQ(hostChannel->binarySamples().size(), 1u);
    EXPECT_EQ(hostChannel->binarySamples()[0].time, 6.5);
    EXPECT_EQ(hostChannel->binarySamples()[0].bytes, (std::vector<std::uint8_t>{1, 2, 255}));
}

TEST_F(AddData, DetachedChannelRefusesData) {
    factory.detachAllHostChannels();
    EXPECT_EQ(comResultOf([&] { addTimed(1.0, 1.0); }), E_POINTER);
    EXPECT_EQ(comResultOf([&] { channel->isUsed(); }), E_POINTER);
}

template <class T>
double previewOf(std::uint32_t type, const T& value) {
    return previewValue(type, &value, sizeof value);
}

TEST(PreviewValue, ConvertsEveryHostTypeAndGivesZeroOtherwise) {
    EXPECT_EQ(previewOf(HostDataType::UInt8, std::uint8_t{255}), 255.0);
    EXPECT_EQ(previewOf(HostDataType::Int8, std::int8_t{-5}), -5.0);
    EXPECT_EQ(previewOf(HostDataType::Int16, std::int16_t{-300}), -300.0);
    EXPECT_EQ(previewOf(HostDataType::UInt16, std::uint16_t{60000}), 60000.0);
    EXPECT_EQ(previewOf(HostDataType::Int32, std::int32_t{-70000}), -70000.0);
    EXPECT_EQ(previewOf(HostDataType::Float, 1.5F), 1.5);
    EXPECT_EQ(previewOf(HostDataType::Int64, std::int64_t{1} << 40), 1099511627776.0);
    EXPECT_EQ(previewOf(HostDataType::UInt32, std::uint32_t{4000000000U}), 4000000000.0);
    const float complexFloat[2] = {3.0F, -4.0F};
    EXPECT_EQ(previewOf(HostDataType::ComplexFloat, complexFloat), 5.0);
    const double huge[2] = {1e300, 1e300};
    EXPECT_DOUBLE_EQ(previewOf(HostDataType::ComplexDouble, huge), std::sqrt(2.0) * 1e300) << "no overflow";
    EXPECT_EQ(previewValue(HostDataType::ComplexDouble, huge, 15), 0.0);
    EXPECT_EQ(previewOf(11, 1.0), 0.0);
}

}  // namespace
}  // namespace output_test
