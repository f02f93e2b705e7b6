// What the live page keeps of the samples: a bounded recording, a plot of
// a bounded number of points, and a reader that takes each sample of the
// host's ring buffers once.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "host/live/live_samples.h"

namespace {

using vexa::live::Json;
using vexa::live::LiveSamples;
using vexa::live::PlotFeed;
using vexa::live::Recording;
using vexa::live::SampleLimits;

TEST(Recording, KeepsTheNewestSamplesUpToItsCapacityAndWritesThemAsCsv) {
    Recording recording(3);
    recording.add("a", 0.5, 1.0);
    recording.add("b, the second", 0.5, 2.0);
    recording.add("a", 1.0, 3.0);
    recording.add("say \"c\"", 1.0, 0.1);
    EXPECT_EQ(recording.size(), 3u);
    EXPECT_EQ(recording.dropped(), 1u);
    EXPECT_EQ(recording.bytes(), 3 * Recording::kSampleBytes);
    EXPECT_EQ(recording.csv(),
              "channel,time,value\n"
              "\"b, the second\",0.5,2\n"
              "a,1,3\n"
              "\"say \"\"c\"\"\",1,0.10000000000000001\n");
    recording.clear();
    EXPECT_EQ(recording.csv(), "channel,time,value\n");
    EXPECT_EQ(recording.dropped(), 0u);
}

TEST(PlotFeed, GivesAtMostOneRowPerSliceOfTheLastSpanAndKeepsItsExtremes) {
    PlotFeed feed(10.0, 100);  // slices of 0.1 s
    const int a = 0, b = 0;
    // 20 s at 1 kHz on one trace, a spike at 15.0505 s; the other trace
    // only in its last second.
    for (int k = 0; k < 20000; ++k) {
        const double t = k * 0.001;
        feed.add(&a, t, k == 15050 ? 100.0 : std::sin(t));
        if (t >= 19.0) feed.add(&b, t, -1.0);
    }
    const Json rows = feed.rows({&a, &b});
    ASSERT_LE(rows.size(), 100u);
    ASSERT_GE(rows.size(), 99u);
    EXPECT_GT(rows.front()[0].get<double>(), 19.999 - 10.0) << "only the last 10 s";
    double highest = 0;
    for (const Json& row : rows) {
        ASSERT_EQ(row.size(), 3u);
        highest = std::max(highest, row[1][2].get<double>());
        const double t = row[0].get<double>();
        if (t < 18.95) {
            EXPECT_TRUE(row[2].is_null()) << t;
        }
        if (t >= 19.0) {
            EXPECT_EQ(row[2], Json::array({-1.0, -1.0, -1.0})) << t;
        }
    }
    EXPECT_EQ(highest, 100.0) << "a one-sample spike survives the thinning";
    feed.forget(&a);
    EXPECT_TRUE(feed.rows({&a}).empty());
}

// A host channel of `length` samples of doubles, `count` written.
void write(vexa::host::ChannelObject& channel, int from, int count) {
    BYTE* samples = nullptr;
    DOUBLE* times = nullptr;
    ASSERT_EQ(channel.GetSampleBuffer(&samples), S_OK);
    ASSERT_EQ(channel.GetTimeBuffer(&times), S_OK);
    for (int k = from; k < from + count; ++k) {
        const double value = k;
        std::memcpy(samples + channel.writePosition() * sizeof value, &value, sizeof value);
        times[channel.writePosition()] = k * 0.01;
        ASSERT_EQ(channel.AdvanceWritePosition(1), S_OK);
    }
}

TEST(LiveSamples, TakesEachSampleOnceRecordsOnlyWhenAskedAndCountsWhatTheRingOverwrote) {
    vexa::host::ChannelGroupObject group;
    auto channel = group.addChannel(1);
    channel->setBufferLength(8);
    ASSERT_EQ(channel->SetDataType(7), S_OK);  // doubles
    channel->settings().name = "x";
    channel->settings().used = true;
    LiveSamples samples(SampleLimits{100, 10.0, 1000});

    write(*channel, 0, 3);
    samples.restart(group, true);  // what is there now is old
    write(*channel, 3, 5);
    samples.collect(group, false);  // a preview: plotted, not recorded
    EXPECT_EQ(samples.recording().size(), 0u);
    write(*channel, 8, 12);  // 12 into a ring of 8: 4 overwritten
    samples.collect(group, true);
    samples.collect(group, true);  // nothing new
    EXPECT_EQ(samples.taken(), 5u + 8u);
    EXPECT_EQ(samples.lost(), 4u);
    const std::string csv = samples.recording().csv();
    EXPECT_EQ(csv.substr(0, 39), "channel,time,value\nx,0.12,12\nx,0.13,13\n") << "the newest 8 of 12";
    EXPECT_EQ(csv.substr(csv.size() - 10), "x,0.19,19\n");
    EXPECT_EQ(samples.recording().size(), 8u);

    const Json plot = samples.plot(group);
    EXPECT_EQ(plot["labels"], Json::array({"host time (s)", "x"}));
    EXPECT_EQ(plot["rows"].size(), 5u + 8u) << "preview and recording both move the plot";
    channel->settings().used = false;
    EXPECT_EQ(samples.plot(group)["labels"].size(), 1u) << "an unused channel leaves the plot";
}

}  // namespace
