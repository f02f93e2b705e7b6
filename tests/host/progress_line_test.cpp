#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "host/objects/channel_group.h"
#include "host/progress_line.h"
#include "host/sample_recorder.h"

using namespace vexa::host;

TEST(AcquisitionProgress, AChannelCountsAsLiveForOneSecondAfterItLastGrew) {
    ChannelGroupObject group;
    group.setBufferLength(100);
    const ChannelPtr steady = group.addChannel(1);
    const ChannelPtr stopping = group.addChannel(2);
    steady->settings().name = "steady";
    stopping->settings().name = "stopping";
    SampleRecorder recorder(nullptr);
    ProgressTracker tracker;

    auto stepTo = [&](double seconds, LONG steadySamples, LONG stoppingSamples) {
        steady->AdvanceWritePosition(steadySamples);
        stopping->AdvanceWritePosition(stoppingSamples);
        recorder.collect(group);
        return tracker.update(seconds, recorder, group.channels().size(), 0);
    };
    EXPECT_EQ(stepTo(0.5, 10, 10).channelsLive, 2u);
    EXPECT_EQ(stepTo(1.5, 10, 0).channelsLive, 2u);
    const ProgressFigures late = stepTo(1.6, 10, 0);
    EXPECT_EQ(late.channelsLive, 1u);
    EXPECT_EQ(late.channels, 2u);
    EXPECT_EQ(late.values, 40u);
    EXPECT_DOUBLE_EQ(late.valuesPerSecond(), 25.0);

    // A step that overruns the ring buffer shows as lost samples.
    const ProgressFigures overrun = stepTo(1.7, 130, 0);
    EXPECT_EQ(overrun.lost, 30u);
    EXPECT_EQ(overrun.values, 140u);
}

namespace {

// What a terminal shows of `written` on one line: a carriage return goes
// back to the left margin, other characters overwrite.
std::string shown(const std::string& written) {
    std::string line;
    std::size_t column = 0;
    for (const char c : written) {
        if (c == '\r') {
            column = 0;
            continue;
        }
        if (column < line.size()) line[column] = c;
        else line += c;
        ++column;
    }
    return line.substr(0, line.find_last_not_of(' ') + 1);
}

std::string everything(std::FILE* file) {
    std::rewind(file);
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
    return text;
}

}  // namespace

TEST(AcquisitionProgress, AShorterLineCoversTheLongerOneAndClearingLeavesNothing) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    {
        ProgressLine line(file);
        line.show("12.5 s  1000 values");
        line.show("13.0 s  9 values");
        EXPECT_EQ(shown(everything(file)), "13.0 s  9 values");
        line.clear();
        EXPECT_EQ(shown(everything(file)), "");
        line.show("14.0 s");
    }
    EXPECT_EQ(shown(everything(file)), "") << "a line left behind would run into the summary";
    std::fclose(file);
}
