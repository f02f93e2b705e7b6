// The reference host's recorder: every sample the plug-in wrote is recorded
// once, whatever became of the buffers between two looks.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "host/objects/channel_group.h"
#include "host/sample_recorder.h"
#include "support/temp_file.h"

using namespace vexa::host;

namespace {

// Writes samples valued 0, 1, 2, ... at time stamps 10 ms apart.
void write(ChannelObject& channel, int& next, int count) {
    for (int i = 0; i < count; ++i, ++next) {
        BYTE* samples = nullptr;
        DOUBLE* times = nullptr;
        channel.GetSampleBuffer(&samples);
        channel.GetTimeBuffer(&times);
        const double value = next;
        std::memcpy(samples + channel.writePosition() * 8, &value, 8);
        times[channel.writePosition()] = next * 0.01;
        channel.AdvanceWritePosition(1);
    }
}

// The values of the CSV rows, in order.
std::vector<double> valuesIn(const std::string& csv) {
    std::istringstream lines(csv);
    std::string line;
    std::getline(lines, line);
    std::vector<double> values;
    while (std::getline(lines, line)) values.push_back(std::stod(line.substr(line.rfind(',') + 1)));
    return values;
}

}  // namespace

TEST(SampleRecorder, BuffersRemadeBetweenTwoLooksNeitherDropNorRepeatSamples) {
    // Between two looks: nothing, a longer ring, a shorter one that keeps
    // what is unread, new buffers for another type (their unread samples
    // are gone), and a ring that overran.
    vexa::test::TempFile csv("run.csv");
    std::FILE* out = std::fopen(csv.path().c_str(), "w");
    ASSERT_NE(out, nullptr);
    ChannelGroupObject group;
    group.setBufferLength(8);
    const ChannelPtr channel = group.addChannel(1);
    SampleRecorder recorder(out);
    int next = 0;

    write(*channel, next, 5);
    recorder.collect(group);
    recorder.collect(group);
    write(*channel, next, 3);
    channel->setBufferLength(32);
    write(*channel, next, 20);
    recorder.collect(group);
    write(*channel, next, 4);
    channel->setBufferLength(4);
    recorder.collect(group);
    EXPECT_EQ(recorder.lost(), 0u);

    write(*channel, next, 2);
    channel->SetDataType(7);  // the same type: the buffers stay
    channel->setArraySize(1);  // new buffers: the two unread samples go
    write(*channel, next, 3);
    recorder.collect(group);
    EXPECT_EQ(recorder.lost(), 2u);
    write(*channel, next, 6);  // two more than the ring holds
    recorder.collect(group);
    EXPECT_EQ(recorder.lost(), 4u);
    std::fclose(out);

    std::vector<double> expected;
    for (int v = 0; v < next; ++v) {
        if (v == 32 || v == 33 || v == 37 || v == 38) continue;
        expected.push_back(v);
    }
    EXPECT_EQ(valuesIn(csv.contents()), expected);
    EXPECT_EQ(recorder.total(), expected.size());
    EXPECT_EQ(recorder.counts().at(""), expected.size());
}
