// A scripted device with three channels bound to host channels, started and
// ready for data steps, and the records it sends.
#pragma once

#include <cmath>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "support/device_fixture.h"

namespace device_test {

inline constexpr char kName[] = "Bench rig 7";
inline constexpr char kChannelText[] =
    "channel 1 name 'Eng/Speed' unit 'rpm' channel 2 name 'Eng/Torque' unit 'Nm' channel 3 name 'Air.Temp' unit 'degC'";
inline constexpr std::size_t kRecordBytes = 32;  // three channels
inline const std::string kUnexpected = "] Unexpected response from the server at command ";

// Channel k of record r has the value valueOf(r, k).
inline float valueOf(std::size_t record, std::size_t channel) {
    return 1.5f * static_cast<float>(channel + 1) + 0.25f * static_cast<float>(record);
}
// Records `from` to `from + count - 1` as the device sends them: record r
// is stamped 1000 s + (r + 1) * 10 ms, has status statuses[r - from] ('0'
// when not given) and carries valueOf(r, k).
inline Bytes recordsFrom(std::size_t from, std::size_t count, const std::string& statuses = {}) {
    Bytes block;
    for (std::size_t r = from; r < from + count; ++r) {
        const auto nanoseconds = static_cast<std::uint32_t>((r + 1) * 10'000'000);
        const char status = r - from < statuses.size() ? statuses[r - from] : '0';
        const Bytes one = record(status, 1000, nanoseconds, {valueOf(r, 0), valueOf(r, 1), valueOf(r, 2)});
        block.insert(block.end(), one.begin(), one.end());
    }
    return block;
}

class Measurements : public DeviceTest {
protected:
    // Connected, its list read, its channels bound to host channels and
    // started; then `count` and `block` answer OMP? and RMB?.
    std::shared_ptr<VexaDevice> running(ScriptedReply count, ScriptedReply block) {
        return runningWith({std::move(count), std::move(block)});
    }
    // The same with the replies of any number of data steps, received in
    // pieces of at most `piece` bytes.
    std::shared_ptr<VexaDevice> runningWith(std::deque<ScriptedReply> steps,
                                            std::size_t piece = static_cast<std::size_t>(-1)) {
        steps.push_front({statusReply("RUN")});
        auto device = bound(std::move(steps), piece);
        device->startAcquisition();
        newLog();
        return device;
    }
    // Connected, its list read and its channels bound, not started: `after`
    // answers the commands that follow.
    std::shared_ptr<VexaDevice> bound(std::deque<ScriptedReply> after,
                                      std::size_t piece = static_cast<std::size_t>(-1)) {
        std::deque<ScriptedReply> all{{framedReply("IDN?", kName)}, {framedReply("CFG?", kChannelText)}};
        all.insert(all.end(), after.begin(), after.end());
        auto device = scriptedDevice(std::move(all), piece);
        EXPECT_TRUE(device->openConnection());
        device->readSystemConfig();
        for (const auto& channel : device->channelTable().channels("allChannels")) channel->createOutput(~0u);
        return device;
    }
    // The values (or times) each host channel received, in order.
    std::vector<std::vector<double>> received(const VexaDevice& device, bool times = false) {
        std::vector<std::vector<double>> samples;
        for (const auto& channel : device.channelTable().channels("allChannels")) {
            const ChannelObject& hostChannel = hostOf(*channel);
            auto& values = samples.emplace_back();
            for (LONG i = 0; i < static_cast<LONG>(hostChannel.samplesWritten()); ++i) {
                values.push_back(times ? hostChannel.timeAt(i) : hostChannel.valueAt(i));
            }
        }
        return samples;
    }
    ChannelObject& hostOf(const VexaChannel& channel) {
        return *host.group->findById(static_cast<LONG>(channel.output()->getKey()));
    }
    static std::vector<std::vector<double>> valuesOf(const std::vector<std::size_t>& records) {
        std::vector<std::vector<double>> values(3);
        for (std::size_t k = 0; k < 3; ++k) {
            for (std::size_t r : records) values[k].push_back(valueOf(r, k));
        }
        return values;
    }
    // The host times of `records`, the same for every channel.
    static std::vector<std::vector<double>> timesOf(const std::vector<double>& times) { return {times, times, times}; }
    // Commands written since the first three (IDN?, CFG?, RUN).
    std::vector<std::string> sentSinceRun() const { return {socket->sent().begin() + 3, socket->sent().end()}; }
};

// Element-wise within `tolerance`, with the first difference named. (Not
// "near": Windows headers define that away.)
inline ::testing::AssertionResult samplesNear(const std::vector<std::vector<double>>& actual,
                                              const std::vector<std::vector<double>>& expected, double tolerance) {
    if (actual.size() != expected.size()) return ::testing::AssertionFailure() << "channel count " << actual.size();
    for (std::size_t k = 0; k < actual.size(); ++k) {
        if (actual[k].size() != expected[k].size()) {
            return ::testing::AssertionFailure() << "channel " << k << ": " << actual[k].size() << " samples, not "
                                                 << expected[k].size();
        }
        for (std::size_t i = 0; i < actual[k].size(); ++i) {
            if (std::abs(actual[k][i] - expected[k][i]) > tolerance) {
                return ::testing::AssertionFailure() << "channel " << k << " sample " << i << ": " << actual[k][i]
                                                     << ", not " << expected[k][i];
            }
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace device_test
