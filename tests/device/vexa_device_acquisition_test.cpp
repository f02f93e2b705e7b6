// An acquisition over a scripted socket from start to stop and on to the
// next start: replies of the wrong size, blocks that trickle in, records
// that carry no values, and the clock fit carried from one run to the next.
#include "support/measurement_fixture.h"

namespace device_test {
namespace {

constexpr double kTolerance = 1e-9;
const std::string kRun = "RUN Eng/Speed,Eng/Torque,Air.Temp\n";

// Host times of records `first` to `last`: the first at `zero`, each next
// one `spacing` later (10 ms, the records' spacing on the device's clock).
std::vector<double> timesFrom(double zero, std::size_t first, std::size_t last, double spacing = 0.01) {
    std::vector<double> times;
    for (std::size_t r = first; r <= last; ++r) times.push_back(zero + spacing * static_cast<double>(r - first));
    return times;
}
std::vector<std::size_t> range(std::size_t first, std::size_t last) {
    std::vector<std::size_t> records;
    for (std::size_t r = first; r <= last; ++r) records.push_back(r);
    return records;
}

// A status reply as sent, refused, a byte short of the correct six, or a
// byte long.
enum class Status { Accepted, Refused, Short, Long };
Bytes statusBytes(const std::string& tag, Status status) {
    Bytes reply = statusReply(tag, status == Status::Refused);
    if (status == Status::Short) reply.pop_back();
    if (status == Status::Long) reply.push_back('\n');
    return reply;
}
std::string nameOf(Status status) {
    const char* names[] = {"accepted", "refused", "short", "long"};
    return names[static_cast<int>(status)];
}
// What the log says of such a reply to `command` from `site`, whose
// refusal and malformed reply are logged at their own lines.
std::string statusLog(Status status, const std::string& site, int refusedLine, int malformedLine,
                      const std::string& command) {
    const std::string at = "[VexaDevice::" + site + "@";
    if (status == Status::Accepted) return "";
    if (status == Status::Refused) return at + std::to_string(refusedLine) + "] Command " + command + " failed!\n\n";
    return at + std::to_string(malformedLine) + kUnexpected + command + ".\n";
}
std::string notConnectedLog(const std::string& context) {
    return "[VexaDevice::isConnected@393] Connection is not established. Additional information: " + context + "\n";
}

using Acquisition = Measurements;

TEST_F(Acquisition, StatusRepliesAreLoggedAndOnlyALongOneEndsTheReading) {
    // A refused or short reply is logged and the device is read on; a long
    // one leaves its tail in the stream, so the device is dropped and
    // nothing more is sent.
    struct Case {
        Status run;
        Status stop;
    };
    for (const Case c : {Case{Status::Accepted, Status::Accepted}, Case{Status::Refused, Status::Refused},
                         Case{Status::Short, Status::Short}, Case{Status::Long, Status::Accepted},
                         Case{Status::Accepted, Status::Long}}) {
        const std::string where = "RUN " + nameOf(c.run) + ", STOP " + nameOf(c.stop);
        auto device = bound({{statusBytes("RUN", c.run)}, {countReply(2)}, {recordsFrom(0, 2)},
                             {statusBytes("STO", c.stop)}, {statusReply("RUN")}, {countReply(1)}, {recordsFrom(2, 1)}});
        newLog();
        const bool running = c.run != Status::Long;
        device->startAcquisition();
        EXPECT_EQ(newLog(), statusLog(c.run, "startAcquisition", 308, 312, "RUN")) << where;
        EXPECT_EQ(device->deviceInfo()->connected, running) << where;
        EXPECT_EQ(socket->isOpen(), running) << where;

        device->readMeasurements(2.0);
        EXPECT_EQ(newLog(), "") << where << ": a closed device is skipped silently";
        EXPECT_TRUE(samplesNear(received(*device), valuesOf(running ? range(0, 1) : range(1, 0)), 0.0)) << where;

        device->stopAcquisition();
        EXPECT_EQ(newLog(), running ? statusLog(c.stop, "stopAcquisition", 330, 334, "STOP")
                                    : notConnectedLog("stop acquisition"))
            << where;
        const bool stillConnected = running && c.stop != Status::Long;
        EXPECT_EQ(device->deviceInfo()->connected, stillConnected) << where;

        // The next acquisition reads the device as if nothing had happened.
        device->startAcquisition();
        device->readMeasurements(3.0);
        EXPECT_EQ(newLog(), stillConnected ? "" : notConnectedLog("start acquisition")) << where;
        const auto read = stillConnected ? range(0, 2) : running ? range(0, 1) : range(1, 0);
        EXPECT_TRUE(samplesNear(received(*device), valuesOf(read), 0.0)) << where;
        std::vector<std::string> sent{"IDN?;\n", "CFG?;\n", kRun};
        if (running) sent.insert(sent.end(), {"OMP?;\n", "RMB? 2;\n", "STOP;\n"});
        if (stillConnected) sent.insert(sent.end(), {kRun, "OMP?;\n", "RMB? 1;\n"});
        EXPECT_EQ(socket->sent(), sent) << where;
    }
}

TEST_F(Acquisition, CountRepliesOfTheWrongSize) {
    // Short: nothing is ready, the request for none still goes out, nothing
    // is logged and the next step reads normally. Long: the rest of the
    // reply would be taken for the next one, so the device is dropped.
    const Bytes count = countReply(2);
    for (const std::size_t size : {std::size_t{1}, std::size_t{4}, std::size_t{8}, std::size_t{9}, std::size_t{11},
                                   std::size_t{16}}) {
        const std::string where = std::to_string(size) + " bytes";
        Bytes reply(count.begin(), count.begin() + static_cast<std::ptrdiff_t>(std::min(size, count.size())));
        while (reply.size() < size) reply.push_back(';');
        // A device asked for no records sends nothing.
        auto device = runningWith({{reply}, {Bytes{}}, {countReply(2)}, {recordsFrom(0, 2)}});
        device->readMeasurements(2.0);
        const bool isShort = size < count.size();
        EXPECT_EQ(newLog(), isShort ? "" : "[VexaDevice::readMeasurements@262" + kUnexpected + "OMP?.\n") << where;
        EXPECT_EQ(device->deviceInfo()->connected, isShort) << where;
        EXPECT_EQ(socket->isOpen(), isShort) << where;
        EXPECT_EQ(device->timeOrigin(), 0.0) << where << ": no block, no time origin";

        device->readMeasurements(2.1);
        EXPECT_EQ(newLog(), "") << where;
        std::vector<std::string> sent{"OMP?;\n"};
        if (isShort) sent.insert(sent.end(), {"RMB? 0;\n", "OMP?;\n", "RMB? 2;\n"});
        EXPECT_EQ(sentSinceRun(), sent) << where;
        EXPECT_TRUE(samplesNear(received(*device), valuesOf(isShort ? range(0, 1) : range(1, 0)), 0.0)) << where;
        if (isShort) {
            EXPECT_TRUE(samplesNear(received(*device, true), timesOf({2.09, 2.1}), kTolerance)) << where;
        }
    }
}

TEST_F(Acquisition, RecordBlocksTrickledAFewBytesAtATimeArriveWhole) {
    // Blocks of 5, 1 and 3 records, each sent in pieces that cut records,
    // time stamps and values anywhere. The count replies come whole.
    struct Step {
        std::size_t first, count;
        double hostTime;  // the host time of its last record
    };
    const Step steps[] = {{0, 5, 2.0}, {5, 1, 2.01}, {6, 3, 2.04}};
    for (const std::size_t piece : {std::size_t{1}, std::size_t{3}, std::size_t{7}, std::size_t{31},
                                    std::size_t{33}, std::size_t{100}}) {
        const std::string where = "pieces of " + std::to_string(piece);
        std::deque<ScriptedReply> script;
        for (const Step& step : steps) {
            script.push_back({countReply(static_cast<std::uint32_t>(step.count))});
            script.push_back({recordsFrom(step.first, step.count)});
        }
        auto device = runningWith(std::move(script));
        for (const Step& step : steps) {
            device->askReadyCount();
            device->askBlock();
            socket->setPieceSize(piece);
            device->takeBlock(step.hostTime);
            socket->setPieceSize(static_cast<std::size_t>(-1));
        }
        EXPECT_TRUE(device->deviceInfo()->connected) << where;
        EXPECT_EQ(newLog(), "") << where;
        EXPECT_TRUE(samplesNear(received(*device), valuesOf(range(0, 8)), 0.0)) << where;
        // The device's clock runs at the host's: record r is at 1.96 + r * 10 ms.
        EXPECT_TRUE(samplesNear(received(*device, true), timesOf(timesFrom(1.96, 0, 8)), kTolerance)) << where;
        EXPECT_NEAR(device->timeOrigin(), 1000.01, kTolerance) << where;
    }
}

TEST_F(Acquisition, StopKeepsTheLearnedClockRatioForTheNextStartWhateverTheStopReply) {
    // The device's clock runs at half the host's: 5 records, 50 ms of device
    // time, per 100 ms data step. Three steps teach the fit that; two do not.
    struct Case {
        int steps;
        Status stop;
        double ratio;  // device seconds per host second, learned at the stop
    };
    for (const Case c : {Case{4, Status::Accepted, 0.5}, Case{4, Status::Refused, 0.5}, Case{4, Status::Short, 0.5},
                         Case{4, Status::Long, 0.5}, Case{3, Status::Accepted, 0.5}, Case{2, Status::Accepted, 1.0}}) {
        const std::string where = std::to_string(c.steps) + " steps, STOP " + nameOf(c.stop);
        std::deque<ScriptedReply> script;
        for (int step = 0; step < c.steps; ++step) {
            script.push_back({countReply(5)});
            script.push_back({recordsFrom(5 * static_cast<std::size_t>(step), 5)});
        }
        const std::size_t next = 5 * static_cast<std::size_t>(c.steps);
        script.insert(script.end(), {{statusBytes("STO", c.stop)}, {statusReply("RUN")}, {countReply(5)},
                                     {recordsFrom(next, 5)}});
        auto device = runningWith(std::move(script));
        for (int step = 0; step < c.steps; ++step) device->readMeasurements(2.0 + 0.1 * step);
        device->stopAcquisition();
        EXPECT_NEAR(device->synchroniser().getRateRatio(), c.ratio, 1e-9) << where;
        if (c.stop == Status::Long) continue;  // dropped: the next run needs a new connection

        // The first block of the next run is already spread at the learned
        // rate: its five records 10 ms apart on the device's clock take
        // 10 ms / ratio each on the host's, ending at the host's time now.
        const std::size_t before = received(*device)[0].size();
        device->startAcquisition();
        device->readMeasurements(5.0);
        EXPECT_NEAR(device->timeOrigin(), 1000.01 + 0.01 * static_cast<double>(next), kTolerance) << where;
        auto times = received(*device, true);
        for (auto& channel : times) channel.erase(channel.begin(), channel.begin() + std::ptrdiff_t(before));
        const double spacing = 0.01 / c.ratio;
        EXPECT_TRUE(samplesNear(times, timesOf(timesFrom(5.0 - 4 * spacing, 0, 4, spacing)), kTolerance)) << where;
        EXPECT_EQ(newLog(), statusLog(c.stop, "stopAcquisition", 330, 334, "STOP")) << where;
    }
}

// A STOP never answered fails the exchange, and the fit is kept all the same.
TEST_F(Acquisition, AnUnansweredStopStillKeepsTheLearnedRatio) {
    std::deque<ScriptedReply> script;
    for (int step = 0; step < 3; ++step) {
        script.push_back({countReply(5)});
        script.push_back({recordsFrom(5 * static_cast<std::size_t>(step), 5)});
    }
    script.push_back({Bytes{'S', 'T', 'O', '0', ';', '\n'}, Fault::Timeout, 0});
    auto device = runningWith(std::move(script));
    for (int step = 0; step < 3; ++step) device->readMeasurements(2.0 + 0.1 * step);
    EXPECT_THROW(device->stopAcquisition(), TcpException);
    EXPECT_NEAR(device->synchroniser().getRateRatio(), 0.5, 1e-9) << "STOP unanswered";
}

TEST_F(Acquisition, TheFirstRecordSetsTheTimeOriginWhateverItsStatus) {
    // The first block of three records, by status; records whose status is
    // not '0' hand nothing on. The second block is valid and at the host time
    // that keeps the clocks in step: its times show which origin was taken.
    for (const std::string statuses : {"100", "110", "111", "001", "?00"}) {
        const std::string where = "statuses " + statuses;
        auto device =
            runningWith({{countReply(3)}, {recordsFrom(0, 3, statuses)}, {countReply(2)}, {recordsFrom(3, 2)}});
        device->readMeasurements(2.0);
        EXPECT_NEAR(device->timeOrigin(), 1000.01, kTolerance) << where;
        // The last record, valid or not, is the host's time now.
        EXPECT_NEAR(device->synchroniser().toHostTime(0.02), 2.0, kTolerance) << where;
        device->readMeasurements(2.02);
        EXPECT_NEAR(device->timeOrigin(), 1000.01, kTolerance) << where << ": a later block leaves it";

        std::vector<std::size_t> valid;
        std::vector<double> times;
        for (std::size_t r = 0; r < 5; ++r) {
            if (r < 3 && statuses[r] != '0') continue;
            valid.push_back(r);
            times.push_back(1.98 + 0.01 * static_cast<double>(r));
        }
        EXPECT_TRUE(samplesNear(received(*device), valuesOf(valid), 0.0)) << where;
        EXPECT_TRUE(samplesNear(received(*device, true), timesOf(times), kTolerance)) << where;
        EXPECT_EQ(newLog(), "") << where;
    }
}

TEST_F(Acquisition, InSetupUsedChannelsPreviewAndRecordAcrossTheRingsEnd) {
    // The host is in setup while the device is read (the setup window's
    // live view) and was when the channels were bound. The first channel's
    // ring has its write position at its last slot; the third is unused.
    host.app->setSetupFlag(VARIANT_TRUE);
    auto device = runningWith({{countReply(3)}, {recordsFrom(0, 3)}});
    const auto channels = device->channelTable().channels("allChannels");
    ChannelObject& wrapping = hostOf(*channels[0]);
    wrapping.setBufferLength(4);
    wrapping.AdvanceWritePosition(3);
    wrapping.settings().scale = 2.0;
    ChannelObject& unused = hostOf(*channels[2]);
    unused.settings().used = false;

    device->readMeasurements(2.0);
    EXPECT_EQ(wrapping.writePosition(), 2);
    const LONG positions[] = {3, 0, 1};
    for (std::size_t r = 0; r < 3; ++r) {
        EXPECT_EQ(wrapping.valueAt(positions[r]), valueOf(r, 0)) << r;
        EXPECT_NEAR(wrapping.timeAt(positions[r]), 1.98 + 0.01 * static_cast<double>(r), kTolerance) << r;
    }
    EXPECT_EQ(unused.samplesWritten(), 0u);
    EXPECT_EQ(channels[0]->output()->lastValue(), 2.0 * valueOf(2, 0));
    // An unused channel's values stay with the device: its live value
    // moves, its host channel hears nothing.
    EXPECT_EQ(channels[2]->output()->lastValue(), 0.0);
    EXPECT_EQ(channels[2]->latestValue(), valueOf(2, 2));
}

}  // namespace
}  // namespace device_test
