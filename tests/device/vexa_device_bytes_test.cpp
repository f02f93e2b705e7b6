// Every reply of the device link cut, broken or corrupted at each byte, over
// a scripted socket: what is logged, whether the device stays connected and
// what reaches the device name, the channel list and the host channels.
#include <bit>
#include <cstring>
#include <optional>

#include "support/allocation_watch.h"
#include "support/device_fixture.h"

namespace device_test {
namespace {

using Nerova::NvLib::Protocols::Ethernet::TcpError;
using Nerova::NvLib::Protocols::Ethernet::TcpException;
using namespace std::chrono_literals;

constexpr char kName[] = "Bench rig 7";
constexpr char kChannelText[] =
    "channel 1 name 'Eng/Speed' unit 'rpm' channel 2 name 'Eng/Torque' unit 'Nm' "
    "channel 3 name 'Air.Temp' unit 'degC'";
// Flipping the low byte of a length below 128 always makes it larger.
static_assert(sizeof kChannelText - 1 < 128);
constexpr std::uint32_t kFramedCap = 1u << 20;
constexpr std::uint64_t kBlockCap = 16u << 20;
constexpr Fault kCuts[] = {Fault::Close, Fault::Timeout, Fault::Fail};
constexpr const char* kMalformedIdentity =
    "[VexaDevice::readDeviceInfo@57] Unexpected response from the server at command IDN?.\n";
constexpr const char* kMalformedList =
    "[VexaDevice::readSystemConfig@129] Unexpected response from the server at command CFG?.\n";
constexpr const char* kMalformedCount =
    "[VexaDevice::readMeasurements@262] Unexpected response from the server at command OMP?.\n";

std::string faultName(Fault fault) {
    switch (fault) {
    case Fault::Close: return "close";
    case Fault::Timeout: return "time-out";
    case Fault::Fail: return "failure";
    default: return "corrupt";
    }
}

// How the transport reports the cut.
std::string cutMessage(Fault fault) {
    switch (fault) {
    case Fault::Close: return vexa::test::kClosedMessage;
    case Fault::Fail: return vexa::test::kFailedMessage;
    default: return vexa::test::timedOutMessage(300ms);
    }
}

std::uint32_t big32(const Bytes& bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 | std::uint32_t{bytes[at + 2]} << 8 |
           bytes[at + 3];
}

// The header length after flipping byte `at` of the reply.
std::uint32_t corruptedLength(Bytes reply, std::size_t at) {
    reply[at] ^= 0xFF;
    return big32(reply, 4);
}

// Runs `body`, which must fail with the transport's report of `fault`.
template <class Body>
void expectTransportFailure(Body&& body, Fault fault, const std::string& where) {
    try {
        body();
        ADD_FAILURE() << where << ": no failure";
    } catch (const TcpException& error) {
        EXPECT_EQ(error.code(), fault == Fault::Close ? TcpError::RemoteClosed : TcpError::Unknown) << where;
        EXPECT_EQ(std::string(error.what()), cutMessage(fault)) << where;
    }
}

using DeviceBytes = DeviceTest;

TEST_F(DeviceBytes, IdentityCutOrCorruptedAtAnyByte) {
    const Bytes reply = framedReply("IDN?", kName);
    const std::size_t nameEnd = 8 + std::strlen(kName);
    struct Case {
        Fault fault;
        std::size_t at;
    };
    std::vector<Case> cases{{Fault::None, 0}};
    for (std::size_t at = 0; at < reply.size(); ++at) {
        for (Fault cut : kCuts) cases.push_back({cut, at});
        cases.push_back({Fault::Corrupt, at});
    }
    for (const Case& c : cases) {
        const std::string where = faultName(c.fault) + " at byte " + std::to_string(c.at);
        ScriptedSocket* socket = nullptr;
        auto device = scriptedDevice({{reply, c.fault, c.at}}, socket);
        largestAllocation = 0;
        watchAllocations = true;
        const bool connected = device->openConnection();
        watchAllocations = false;
        EXPECT_LT(largestAllocation.load(), std::size_t{kFramedCap}) << where;
        EXPECT_EQ(socket->sent(), std::vector<std::string>{"IDN?;\n"}) << where;
        EXPECT_EQ(device->deviceInfo()->connected, connected) << where;
        EXPECT_EQ(socket->isOpen(), connected) << where;

        std::string name = kName;
        std::string log;
        if (c.fault == Fault::None) {
        } else if (c.fault != Fault::Corrupt && c.at > 0 && c.at < 8) {
            // A short header is a malformed reply, not a broken link.
            name = "Unknown Vexa device";
            log = kMalformedIdentity;
        } else if (c.fault != Fault::Corrupt) {
            name = "";
            log = "[VexaDevice::openConnection@367] Runtime error at the opening connection. Message: " +
                  cutMessage(c.fault) + "\n";
        } else if (c.at >= 4 && c.at < 8) {
            const std::uint32_t length = corruptedLength(reply, c.at);
            // Beyond the cap: refused unread, the stream is lost. Within it:
            // the device has no more to send and the receive times out.
            name = "";
            log = length > kFramedCap ? kMalformedIdentity
                                      : "[VexaDevice::openConnection@367] Runtime error at the opening connection. "
                                        "Message: " + cutMessage(Fault::Timeout) + "\n";
        } else if (c.at >= 8 && c.at < nameEnd) {
            name[c.at - 8] = static_cast<char>(name[c.at - 8] ^ 0xFF);
        }  // tag and trailer are not read
        const bool expectConnected = !name.empty();
        EXPECT_EQ(connected, expectConnected) << where;
        EXPECT_EQ(device->deviceInfo()->name, expectConnected ? name : "Unknown Vexa device") << where;
        EXPECT_EQ(newLog(), log) << where;
    }
}

TEST_F(DeviceBytes, IdentityInPiecesIsReadWholeAndLeavesTheStreamInStep) {
    const Bytes reply = framedReply("IDN?", "A device whose name spans many small pieces");
    ScriptedSocket* socket = nullptr;
    // A whole header, then the rest a few bytes at a time.
    auto device = scriptedDevice({{reply}, {reply}}, socket, 8);
    ASSERT_TRUE(device->openConnection());
    device->readDeviceInfo();
    EXPECT_EQ(device->deviceInfo()->name, "A device whose name spans many small pieces");
    EXPECT_TRUE(device->deviceInfo()->connected);
    EXPECT_EQ(newLog(), "");
}

std::vector<std::string> fullNames(const VexaDevice& device, const std::string& group = "allChannels") {
    std::vector<std::string> names;
    for (const auto& channel : device.channelTable().channels(group)) names.push_back(channel->fullName());
    return names;
}

TEST_F(DeviceBytes, ChannelListCutOrCorruptedAtAnyByte) {
    const Bytes reply = framedReply("CFG?", kChannelText);
    const std::size_t textEnd = 8 + std::strlen(kChannelText);
    const std::vector<std::string> all{"Eng/Speed", "Eng/Torque", "Air.Temp"};
    for (std::size_t at = 0; at <= reply.size(); ++at) {
        for (Fault fault : {Fault::Close, Fault::Timeout, Fault::Fail, Fault::Corrupt}) {
            const std::string where = faultName(fault) + " at byte " + std::to_string(at);
            ScriptedSocket* socket = nullptr;
            auto device = scriptedDevice({{framedReply("IDN?", kName)}, {reply, fault, at}}, socket);
            ASSERT_TRUE(device->openConnection()) << where;
            std::optional<Fault> failure;  // the transport failure the read ends with
            std::string log;
            bool complete = false;
            if (at == reply.size()) {
                complete = true;  // nothing cut or flipped
            } else if (fault != Fault::Corrupt) {
                if (at > 0 && at < 8) log = kMalformedList;
                else failure = fault;
            } else if (at >= 4 && at < 8) {
                if (corruptedLength(reply, at) > kFramedCap) log = kMalformedList;
                else failure = Fault::Timeout;
            } else {
                complete = at < 4 || at >= textEnd;  // tag and trailer are not read
            }
            if (failure) {
                expectTransportFailure([&] { device->readSystemConfig(); }, *failure, where);
            } else {
                device->readSystemConfig();
            }
            const bool lost = failure || (log == kMalformedList && fault == Fault::Corrupt);
            EXPECT_EQ(device->deviceInfo()->connected, !lost) << where;
            EXPECT_EQ(socket->isOpen(), !lost) << where;
            EXPECT_EQ(newLog(), log) << where;
            if (complete) {
                EXPECT_EQ(fullNames(*device), all) << where;
                EXPECT_EQ(fullNames(*device, "Eng"), (std::vector<std::string>{"Eng/Speed", "Eng/Torque"}));
                const auto air = device->channelTable().channels("Air");
                ASSERT_EQ(air.size(), 1u) << where;
                EXPECT_EQ(air[0]->deviceName(), "Temp");
                EXPECT_EQ(air[0]->unit(), "degC");
                EXPECT_EQ(air[0]->index(), 3u);
            } else if (failure || !log.empty()) {
                EXPECT_TRUE(fullNames(*device).empty()) << where;
            } else {
                // A flipped byte of the text is parsed as it came.
                EXPECT_LE(fullNames(*device).size(), all.size()) << where;
            }
        }
    }
}

// A device running three channels: two records of 32 bytes per block.
constexpr std::size_t kRecordBytes = 32;
float valueOf(std::size_t record, std::size_t channel) {
    return 1.5f * static_cast<float>(channel + 1) + 0.25f * static_cast<float>(record);
}
Bytes twoRecords() {
    Bytes block = record('0', 1000, 10'000'000, {valueOf(0, 0), valueOf(0, 1), valueOf(0, 2)});
    const Bytes second = record('0', 1000, 20'000'000, {valueOf(1, 0), valueOf(1, 1), valueOf(1, 2)});
    block.insert(block.end(), second.begin(), second.end());
    return block;
}

class Measurements : public DeviceTest {
protected:
    // Connected, its list read, its channels bound to host channels and
    // started; `count` and `block` answer OMP? and RMB?.
    std::shared_ptr<VexaDevice> running(ScriptedReply count, ScriptedReply block) {
        auto device = scriptedDevice({{framedReply("IDN?", kName)},
                                      {framedReply("CFG?", kChannelText)},
                                      {statusReply("RUN")},
                                      std::move(count),
                                      std::move(block)},
                                     socket);
        EXPECT_TRUE(device->openConnection());
        device->readSystemConfig();
        for (const auto& channel : device->channelTable().channels("allChannels")) channel->createOutput(~0u);
        device->startAcquisition();
        return device;
    }
    // The values each host channel received, in order.
    std::vector<std::vector<double>> received(const VexaDevice& device) {
        std::vector<std::vector<double>> values;
        for (const auto& channel : device.channelTable().channels("allChannels")) {
            const ChannelObject& hostChannel = hostOf(*channel);
            values.emplace_back();
            for (std::uint64_t i = 0; i < hostChannel.samplesWritten(); ++i) {
                values.back().push_back(hostChannel.valueAt(static_cast<LONG>(i)));
            }
        }
        return values;
    }
    std::vector<double> stamps(const VexaDevice& device, std::size_t channel) {
        const ChannelObject& hostChannel = hostOf(*device.channelTable().channels("allChannels").at(channel));
        std::vector<double> times;
        for (std::uint64_t i = 0; i < hostChannel.samplesWritten(); ++i) {
            times.push_back(hostChannel.timeAt(static_cast<LONG>(i)));
        }
        return times;
    }
    static std::vector<std::vector<double>> expectedValues(const std::vector<std::size_t>& records) {
        std::vector<std::vector<double>> values(3);
        for (std::size_t k = 0; k < 3; ++k) {
            for (std::size_t r : records) values[k].push_back(valueOf(r, k));
        }
        return values;
    }
    ScriptedSocket* socket = nullptr;
};

TEST_F(Measurements, CountReplyCutOrCorruptedAtAnyByte) {
    const Bytes count = countReply(2);
    for (std::size_t at = 0; at <= count.size(); ++at) {
        for (Fault fault : {Fault::Close, Fault::Timeout, Fault::Fail, Fault::Corrupt}) {
            const std::string where = faultName(fault) + " at byte " + std::to_string(at);
            auto device = running({count, fault, at}, {twoRecords()});
            newLog();
            std::optional<Fault> failure;
            std::string log;
            std::string blockCommand = "RMB? 2;\n";
            if (at == count.size() || (fault == Fault::Corrupt && (at < 4 || at >= 8))) {
                // Whole, or only the tag or trailer flipped.
            } else if (fault != Fault::Corrupt) {
                // A short count reply counts as nothing ready.
                if (at == 0) failure = fault;
                else blockCommand = "RMB? 0;\n";
            } else {
                const std::uint32_t ready = corruptedLength(count, at);
                if (std::uint64_t{ready} * kRecordBytes > kBlockCap) {
                    log = kMalformedCount;
                } else {
                    failure = Fault::Timeout;
                    blockCommand = "RMB? " + std::to_string(ready) + ";\n";
                }
            }
            if (failure) expectTransportFailure([&] { device->readMeasurements(2.0); }, *failure, where);
            else device->readMeasurements(2.0);

            const bool lost = failure || !log.empty();
            EXPECT_EQ(device->deviceInfo()->connected, !lost) << where;
            EXPECT_EQ(socket->isOpen(), !lost) << where;
            EXPECT_EQ(newLog(), log) << where;
            std::vector<std::string> sent{"OMP?;\n"};
            if (log.empty() && !(failure && at == 0 && fault != Fault::Corrupt)) sent.push_back(blockCommand);
            EXPECT_EQ(std::vector<std::string>(socket->sent().begin() + 3, socket->sent().end()), sent) << where;
            const bool delivered = blockCommand == "RMB? 2;\n" && !lost;
            EXPECT_EQ(received(*device), expectedValues(delivered ? std::vector<std::size_t>{0, 1}
                                                                  : std::vector<std::size_t>{}))
                << where;
        }
    }

    // One byte too many leaves the stream out of step.
    Bytes overlong = count;
    overlong.push_back('\n');
    auto device = running({overlong}, {twoRecords()});
    newLog();
    device->readMeasurements(2.0);
    EXPECT_EQ(newLog(), kMalformedCount);
    EXPECT_FALSE(device->deviceInfo()->connected);
    EXPECT_EQ(socket->sent().back(), "OMP?;\n");
}

TEST_F(Measurements, BlockCutAtAnyByteHandsNothingOnAndDisconnects) {
    const Bytes block = twoRecords();
    for (std::size_t at = 0; at < block.size(); ++at) {
        for (Fault fault : kCuts) {
            const std::string where = faultName(fault) + " at byte " + std::to_string(at);
            auto device = running({countReply(2)}, {block, fault, at});
            newLog();
            expectTransportFailure([&] { device->readMeasurements(2.0); }, fault, where);
            EXPECT_FALSE(device->deviceInfo()->connected) << where;
            EXPECT_FALSE(socket->isOpen()) << where;
            EXPECT_EQ(newLog(), "") << where;  // the caller reports it
            EXPECT_EQ(received(*device), expectedValues({})) << where;
        }
    }
}

TEST_F(Measurements, BlockWithOneByteCorruptedDeliversWhatTheRecordsSay) {
    const Bytes block = twoRecords();
    for (std::size_t at = 0; at <= block.size(); ++at) {
        const std::string where = "corrupt at byte " + std::to_string(at);
        auto device = running({countReply(2)}, {block, Fault::Corrupt, at});
        newLog();
        device->readMeasurements(2.0);
        EXPECT_TRUE(device->deviceInfo()->connected) << where;
        EXPECT_EQ(newLog(), "") << where;

        const std::size_t r = at / kRecordBytes;
        const std::size_t offset = at % kRecordBytes;
        auto expected = expectedValues({0, 1});
        if (at == block.size()) {
            // Untouched: the last record is the host's time now, the first
            // one 10 ms of device time before it.
            EXPECT_NEAR(device->timeOrigin(), 1000.01, 1e-9);
            EXPECT_NEAR(stamps(*device, 0).at(0), 1.99, 1e-9);
            EXPECT_NEAR(stamps(*device, 0).at(1), 2.0, 1e-9);
        } else if (offset == 3) {
            // A record whose status is not '0' is skipped.
            for (auto& values : expected) values.erase(values.begin() + static_cast<std::ptrdiff_t>(r));
        } else if (offset >= 16 && offset < 28) {
            const std::size_t k = (offset - 16) / 4;
            const std::uint32_t flip = 0xFFu << (8 * (3 - (offset - 16) % 4));
            expected[k][r] = std::bit_cast<float>(std::bit_cast<std::uint32_t>(valueOf(r, k)) ^ flip);
        }
        EXPECT_EQ(received(*device), expected) << where;
        // Whatever a corrupted time says, a channel's samples never go back.
        const auto times = stamps(*device, 0);
        for (std::size_t i = 1; i < times.size(); ++i) EXPECT_GE(times[i], times[i - 1]) << where;
        const auto latest = device->channelTable().channels("allChannels")[0];
        EXPECT_EQ(latest->latestValue(), expected[0].back()) << where;
    }
}

}  // namespace
}  // namespace device_test
