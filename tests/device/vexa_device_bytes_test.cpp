// Every reply of the device link cut, broken or corrupted at each byte, over
// a scripted socket: what is logged, whether the device stays connected and
// what reaches the device name, the channel list and the host channels.
#include <bit>

#include "support/allocation_watch.h"
#include "support/measurement_fixture.h"

namespace device_test {
namespace {

// Flipping the low byte of a length or count below 128 always makes it larger.
static_assert(sizeof kChannelText - 1 < 128);
constexpr std::uint64_t kFramedCap = 1u << 20;
// Counts are never refused: a backlog is no fault.
constexpr std::uint64_t kNoCap = ~std::uint64_t{0};
constexpr Fault kFaults[] = {Fault::Close, Fault::Timeout, Fault::Fail, Fault::Corrupt};
const std::string kIdentityLog = "[VexaDevice::readDeviceInfo@57" + kUnexpected + "IDN?.\n";
const std::string kListLog = "[VexaDevice::readSystemConfig@129" + kUnexpected + "CFG?.\n";
const std::string kCountLog = "[VexaDevice::readMeasurements@262" + kUnexpected + "OMP?.\n";

// How the transport reports a cut.
std::string cutMessage(Fault fault) {
    if (fault == Fault::Close) return vexa::test::kClosedMessage;
    if (fault == Fault::Fail) return vexa::test::kFailedMessage;
    return vexa::test::timedOutMessage(std::chrono::milliseconds(300));
}
std::string describe(Fault fault, std::size_t at) {
    const char* names[] = {"none", "close", "time-out", "failure", "corrupt"};
    return std::string(names[static_cast<int>(fault)]) + " at byte " + std::to_string(at);
}

// What becomes of a reply whose bytes 4 to 7 hold a length or count, when
// `fault` strikes at byte `at`. The first `firstReceive` bytes are asked for
// in one receive, which a cut leaves short; each unit of the field stands
// for `unit` more bytes to read, `cap` bytes at most.
enum class Fate { Whole, Short, Refused, RunsDry, Cut, BodyFlipped };
Fate fateOf(Bytes reply, Fault fault, std::size_t at, std::size_t firstReceive, std::uint64_t unit, std::uint64_t cap) {
    if (at >= reply.size()) return Fate::Whole;
    if (fault != Fault::Corrupt) return at > 0 && at < firstReceive ? Fate::Short : Fate::Cut;
    if (at < 4 || at >= reply.size() - 2) return Fate::Whole;  // tag and trailer are not read
    if (at >= 8) return Fate::BodyFlipped;
    reply[at] ^= 0xFF;
    const std::uint64_t field = std::uint64_t{reply[4]} << 24 | reply[5] << 16 | reply[6] << 8 | reply[7];
    return field * unit > cap ? Fate::Refused : Fate::RunsDry;
}

// Runs `body`; a fate that breaks the transport must end it with the
// transport's report of the fault, and nothing else may.
template <class Body>
void expectFailure(Body&& body, Fate fate, Fault fault, const std::string& where) {
    const bool fails = fate == Fate::Cut || fate == Fate::RunsDry;
    try {
        body();
        EXPECT_FALSE(fails) << where << ": no failure";
    } catch (const TcpException& error) {
        EXPECT_TRUE(fails) << where << ": " << error.what();
        const Fault reported = fate == Fate::RunsDry ? Fault::Timeout : fault;
        EXPECT_EQ(error.code(), reported == Fault::Close ? TcpError::RemoteClosed : TcpError::Unknown) << where;
        EXPECT_EQ(std::string(error.what()), cutMessage(reported)) << where;
    }
}

// A short reply is malformed but leaves the link as it was; a refused
// length is never read, and the stream with it is lost.
bool keepsConnection(Fate fate) {
    return fate != Fate::Refused && fate != Fate::Cut && fate != Fate::RunsDry;
}

using DeviceBytes = DeviceTest;

TEST_F(DeviceBytes, IdentityCutOrCorruptedAtAnyByte) {
    const Bytes reply = framedReply("IDN?", kName);
    for (std::size_t at = 0; at <= reply.size(); ++at) {
        for (Fault fault : kFaults) {
            const std::string where = describe(fault, at);
            const Fate fate = fateOf(reply, fault, at, 8, 1, kFramedCap);
            // A whole header, then the rest in pieces of eight: the name is
            // gathered whole.
            auto device = scriptedDevice({{reply, fault, at}}, 8);
            bool connected = false;
            {
                const AllocationWatch watch;
                connected = device->openConnection();
                EXPECT_LT(watch.largest(), kFramedCap) << where;
            }
            EXPECT_EQ(socket->sent(), std::vector<std::string>{"IDN?;\n"}) << where;
            EXPECT_EQ(connected, keepsConnection(fate)) << where;
            EXPECT_EQ(device->deviceInfo()->connected, connected) << where;
            EXPECT_EQ(socket->isOpen(), connected) << where;

            std::string name = kName;
            if (fate == Fate::BodyFlipped) name[at - 8] = static_cast<char>(name[at - 8] ^ 0xFF);
            if (fate != Fate::Whole && fate != Fate::BodyFlipped) name = "Unknown Vexa device";
            EXPECT_EQ(device->deviceInfo()->name, name) << where;
            std::string log;
            if (fate == Fate::Short || fate == Fate::Refused) log = kIdentityLog;
            if (fate == Fate::Cut || fate == Fate::RunsDry) {
                log = "[VexaDevice::openConnection@367] Runtime error at the opening connection. Message: " +
                      cutMessage(fate == Fate::Cut ? fault : Fault::Timeout) + "\n";
            }
            EXPECT_EQ(newLog(), log) << where;
        }
    }
}

std::vector<std::string> fullNames(const VexaDevice& device, const std::string& group = "allChannels") {
    std::vector<std::string> names;
    for (const auto& channel : device.channelTable().channels(group)) names.push_back(channel->fullName());
    return names;
}

TEST_F(DeviceBytes, ChannelListCutOrCorruptedAtAnyByte) {
    const Bytes reply = framedReply("CFG?", kChannelText);
    const std::vector<std::string> all{"Eng/Speed", "Eng/Torque", "Air.Temp"};
    for (std::size_t at = 0; at <= reply.size(); ++at) {
        for (Fault fault : kFaults) {
            const std::string where = describe(fault, at);
            const Fate fate = fateOf(reply, fault, at, 8, 1, kFramedCap);
            auto device = scriptedDevice({{framedReply("IDN?", kName)}, {reply, fault, at}});
            ASSERT_TRUE(device->openConnection()) << where;
            expectFailure([&] { device->readSystemConfig(); }, fate, fault, where);
            EXPECT_EQ(device->deviceInfo()->connected, keepsConnection(fate)) << where;
            EXPECT_EQ(socket->isOpen(), keepsConnection(fate)) << where;
            EXPECT_EQ(newLog(), fate == Fate::Short || fate == Fate::Refused ? kListLog : "") << where;
            if (fate == Fate::Whole) {
                EXPECT_EQ(fullNames(*device), all) << where;
                EXPECT_EQ(fullNames(*device, "Eng"), (std::vector<std::string>{"Eng/Speed", "Eng/Torque"}));
            } else if (fate == Fate::BodyFlipped) {
                // A flipped byte of the text is parsed as it came.
                EXPECT_LE(fullNames(*device).size(), all.size()) << where;
            } else {
                EXPECT_TRUE(fullNames(*device).empty()) << where;
            }
        }
    }
}

// Two records a block, 10 ms apart.
Bytes twoRecords() { return recordsFrom(0, 2); }

TEST_F(Measurements, CountCutOrCorruptedAtAnyByte) {
    const Bytes count = countReply(2);
    for (std::size_t at = 0; at <= count.size(); ++at) {
        for (Fault fault : kFaults) {
            const std::string where = describe(fault, at);
            const Fate fate = fateOf(count, fault, at, count.size(), kRecordBytes, kNoCap);
            auto device = running({count, fault, at}, {twoRecords()});
            if (fault == Fault::Corrupt && at < count.size() && (at < 4 || at >= 8)) {
                // Not framed as a count reply: out of step, so the count in
                // it is never acted on.
                device->readMeasurements(2.0);
                EXPECT_EQ(newLog(), kCountLog) << where;
                EXPECT_FALSE(device->deviceInfo()->connected) << where;
                EXPECT_EQ(sentSinceRun(), std::vector<std::string>{"OMP?;\n"}) << where;
                continue;
            }
            expectFailure([&] { device->readMeasurements(2.0); }, fate, fault, where);
            EXPECT_EQ(device->deviceInfo()->connected, keepsConnection(fate)) << where;
            EXPECT_EQ(socket->isOpen(), keepsConnection(fate)) << where;
            EXPECT_EQ(newLog(), "") << where;
            // A short count counts as nothing ready; a larger one is asked
            // for whatever it says, and the stream runs dry.
            std::vector<std::string> sent{"OMP?;\n"};
            Bytes flipped = count;
            if (fault == Fault::Corrupt && at < count.size()) flipped[at] ^= 0xFF;
            const std::uint32_t ready =
                fate == Fate::Short ? 0 : std::uint32_t{flipped[4]} << 24 | flipped[5] << 16 | flipped[6] << 8 | flipped[7];
            if (!(fate == Fate::Cut && at == 0)) sent.push_back("RMB? " + std::to_string(ready) + ";\n");
            EXPECT_EQ(sentSinceRun(), sent) << where;
            EXPECT_EQ(received(*device), valuesOf(fate == Fate::Whole ? std::vector<std::size_t>{0, 1}
                                                                      : std::vector<std::size_t>{}))
                << where;
        }
    }
    // One byte too many leaves the stream out of step.
    Bytes overlong = count;
    overlong.push_back('\n');
    auto device = running({overlong}, {twoRecords()});
    device->readMeasurements(2.0);
    EXPECT_EQ(newLog(), kCountLog);
    EXPECT_FALSE(device->deviceInfo()->connected);
    EXPECT_EQ(sentSinceRun(), std::vector<std::string>{"OMP?;\n"});
}

TEST_F(Measurements, BlockCutOrCorruptedAtAnyByte) {
    const Bytes block = twoRecords();
    for (std::size_t at = 0; at <= block.size(); ++at) {
        for (Fault fault : kFaults) {
            const std::string where = describe(fault, at);
            const bool cut = fault != Fault::Corrupt && at < block.size();
            auto device = running({countReply(2)}, {block, fault, at});
            expectFailure([&] { device->readMeasurements(2.0); }, cut ? Fate::Cut : Fate::Whole, fault, where);
            EXPECT_EQ(device->deviceInfo()->connected, !cut) << where;
            EXPECT_EQ(newLog(), "") << where;  // a transport failure is the caller's to report
            if (cut) {
                EXPECT_EQ(received(*device), valuesOf({})) << where << ": no partial block is handed on";
                continue;
            }
            // A flipped status skips its record; a flipped value arrives as
            // sent; tag, sequence number and padding are not read.
            const std::size_t r = at / kRecordBytes;
            const std::size_t offset = at % kRecordBytes;
            auto expected = valuesOf({0, 1});
            if (at < block.size() && offset == 3) {
                for (auto& values : expected) values.erase(values.begin() + static_cast<std::ptrdiff_t>(r));
            } else if (at < block.size() && offset >= 16 && offset < 28) {
                const std::size_t k = (offset - 16) / 4;
                const std::uint32_t flip = 0xFFu << (8 * (3 - (offset - 16) % 4));
                expected[k][r] = std::bit_cast<float>(std::bit_cast<std::uint32_t>(valueOf(r, k)) ^ flip);
            }
            EXPECT_EQ(received(*device), expected) << where;
            EXPECT_EQ(device->channelTable().channels("allChannels")[0]->latestValue(), expected[0].back());
            const auto times = received(*device, true)[0];
            if (at == block.size()) {
                // The last record is the host's time now, the first 10 ms of
                // device time before it.
                EXPECT_NEAR(device->timeOrigin(), 1000.01, 1e-9);
                EXPECT_NEAR(times.at(0), 1.99, 1e-9);
                EXPECT_NEAR(times.at(1), 2.0, 1e-9);
            }
            // Whatever a flipped time says, a channel's samples never go back.
            for (std::size_t i = 1; i < times.size(); ++i) EXPECT_GE(times[i], times[i - 1]) << where;
        }
    }
}

TEST_F(Measurements, ABlockAboveTheMemoryBoundSetsTheClockDropsItsValuesAndTheDeviceReadsOn) {
    // Five records of 32 bytes need 319 bytes of room (each receive may ask
    // for all 160); pieces of 13 bytes cut records anywhere.
    struct Case {
        std::uint64_t bound;
        bool dropped;
    };
    for (const Case& c : {Case{319, false}, Case{318, true}, Case{40, true}, Case{1, true}}) {
        const std::string where = "bound " + std::to_string(c.bound);
        auto device = runningWith({{countReply(5)}, {recordsFrom(0, 5)}, {countReply(1)}, {recordsFrom(5, 1)}}, 13);
        device->setBlockMemoryBound(c.bound);
        device->readMeasurements(2.0);
        // Bounded memory: a dropped block is read through a chunk of at most
        // the bound, beside copies of its first and last record.
        EXPECT_LE(device->blockStorage(), c.bound + 2 * kRecordBytes) << where;
        EXPECT_TRUE(device->deviceInfo()->connected) << where;
        EXPECT_EQ(sentSinceRun(), (std::vector<std::string>{"OMP?;\n", "RMB? 5;\n"})) << where;
        // First record: the time origin; last record: the host's time now.
        EXPECT_NEAR(device->timeOrigin(), 1000.01, 1e-9) << where;
        EXPECT_NEAR(device->synchroniser().toHostTime(0.04), 2.0, 1e-9) << where;
        EXPECT_EQ(received(*device), valuesOf(c.dropped ? std::vector<std::size_t>{} : std::vector<std::size_t>{0, 1, 2, 3, 4}))
            << where;
        const std::string report = device->takeLossReport();
        EXPECT_EQ(report.empty(), !c.dropped) << where;
        if (c.dropped) {
            EXPECT_NE(report.find("127.0.0.1:5963: 5 records"), std::string::npos) << report;
            EXPECT_NE(report.find("the device stays connected"), std::string::npos) << report;
            const std::string log = newLog();
            EXPECT_EQ(log.rfind("[VexaDevice::takeLossReport@", 0), 0u) << log;
            EXPECT_NE(log.find("] " + report + "\n"), std::string::npos) << where << ": the loss is logged as well";
        }
        EXPECT_EQ(device->takeLossReport(), "") << where << ": reported once";

        // The stream is still in step: the next block arrives whole.
        device->setBlockMemoryBound(1u << 20);
        device->readMeasurements(2.01);
        EXPECT_EQ(received(*device), valuesOf(c.dropped ? std::vector<std::size_t>{5} : std::vector<std::size_t>{0, 1, 2, 3, 4, 5}))
            << where;
        EXPECT_EQ(newLog(), "") << where;
    }
}

}  // namespace
}  // namespace device_test
