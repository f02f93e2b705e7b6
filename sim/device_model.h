// What a simulated device is and how it answers, apart from any socket.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vexa::sim {

using Bytes = std::vector<std::uint8_t>;

struct SimChannel {
    std::string fullName;  // "Group/Name"; the group part is optional
    std::string unit;
};

// The part of a session a command belongs to. Blocks is the part of Data
// that sends record blocks (RMB?), without the counts (OMP?).
enum class Phase { Identify, Channels, Start, Data, Blocks, Stop, Other };

// The phase of one command line (without its line feed); Data for both
// commands of a data step.
Phase phaseOf(const std::string& command);
// Whether `command` is one of `phase`'s.
bool inPhase(Phase phase, const std::string& command);
// "identify", "channels", "start", "data", "blocks", "stop"; std::nullopt
// for any other text.
std::optional<Phase> phaseNamed(const std::string& name);

// Misbehaviour on request, to see the plug-in cope.
struct Faults {
    // Where the faults strike; every phase when empty. The reply faults
    // touch only replies to that phase's commands; the counts of stallAfter
    // and closeAfter start at its first command.
    std::optional<Phase> phase;
    bool refuseRun = false;   // RUN answered with byte 3 '?'
    bool refuseStop = false;  // STOP likewise
    // Status and count replies one byte short; framed replies cut inside
    // their header.
    bool shortReplies = false;
    bool longReplies = false;      // status and count replies one byte long
    bool oversizedLength = false;  // framed headers announce ~2 GiB, nothing follows
    std::uint32_t badStatusEvery = 0;        // every Nth record has status '1'
    std::optional<std::uint32_t> stallAfter;  // answer this many commands, then none
    std::optional<std::uint32_t> closeAfter;  // answer this many commands, then hang up
    bool closeMidBlock = false;  // hang up halfway through a record block
    std::size_t tricklePiece = 0;  // send every reply in pieces of this many bytes
};

struct SimConfig {
    std::string name = "Vexa simulated device";
    // Devices the simulator serves, each on a port of its own with this
    // configuration; the second and later are named "NAME 2", "NAME 3", ...
    std::size_t devices = 1;
    std::vector<SimChannel> channels = {
        {"Engine/Speed", "rpm"}, {"Engine/Torque", "Nm"}, {"Ambient.Temperature", "degC"}};
    double sampleRate = 100.0;  // records per device second
    double clockOffset = 1000.0;  // device seconds when the simulator starts
    double driftPpm = 0.0;        // device clock runs fast by this much
    // Free running: every OMP? finds the records of `freeRunSeconds` of device
    // time ready, however little real time passed, so that a reader runs at
    // its own pace (benchmarks). Time stamps still follow the sample rate.
    bool freeRun = false;
    double freeRunSeconds = 0.01;
    Faults faults;
    // Seconds of real time since the simulator started; tests set their own.
    std::function<double()> clock;
};

// "a/x:unit,b" (unit optional) as channels; empty text gives none.
std::vector<SimChannel> parseChannelList(const std::string& text);

// Values repeat after this many records: a period of records is built once
// per RUN, and every block is copied out of it.
inline constexpr std::uint64_t kValuePeriod = 1000;
// The value of configured channel `channel` in the record with sequence
// number `record` (1 for the first record after RUN): a sine of harmonic
// channel + 1 over the period, around 10 * channel.
float channelValue(std::size_t channel, std::uint64_t record);

// One client's view of the device: the state a command changes and the
// bytes it answers with. Fault handling that concerns the connection
// (stall, hang-up, trickle) is the session's business.
class DeviceModel {
public:
    explicit DeviceModel(const SimConfig& config);

    struct Reply {
        Bytes bytes;
        bool hangUpMidway = false;  // send half of `bytes`, then close
    };
    // `command` is one line without its line feed; `faults` are those in
    // force for this reply.
    Reply answer(const std::string& command, double realSeconds, const Faults& faults);
    // A reply's bytes once sent, for the next block to fill again.
    void recycle(Bytes bytes);

private:
    double deviceTime(double realSeconds) const;
    Reply run(const std::string& names, double realSeconds, const Faults& faults);
    static Bytes framed(const char* tag, const std::string& payload, const Faults& faults);
    static Bytes status(const char* tag, bool refused, const Faults& faults);
    static Bytes count(std::uint32_t value, const Faults& faults);
    std::uint64_t readyRecords(double realSeconds) const;
    void buildPeriod();
    Bytes block(std::uint32_t records, std::uint32_t badStatusEvery);

    const SimConfig& config_;
    bool running_ = false;
    double runStart_ = 0.0;   // device time of RUN
    double runStartReal_ = 0.0;
    std::uint64_t handedOut_ = 0;  // records given out since RUN
    std::vector<std::size_t> runChannels_;  // configured index of every RUN name
    // kValuePeriod records of the running channels, the one with sequence
    // number kValuePeriod (and every multiple) first.
    Bytes period_;
    Bytes spare_;
};

}  // namespace vexa::sim
