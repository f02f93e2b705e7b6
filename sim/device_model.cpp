#include "sim/device_model.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <sstream>

namespace vexa::sim {
namespace {

void putUint32(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void putText(Bytes& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
}

void writeUint32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream stream(text);
    while (std::getline(stream, part, separator)) parts.push_back(part);
    return parts;
}

std::string configurationText(const std::vector<SimChannel>& channels) {
    std::string text;
    for (std::size_t i = 0; i < channels.size(); ++i) {
        if (i > 0) text += ' ';
        text += "channel " + std::to_string(i + 1) + " name '" + channels[i].fullName +
                "' unit '" + channels[i].unit + "'";
    }
    return text;
}

// Largest record count one RMB? is served; a larger request is a broken client.
constexpr std::uint32_t kMaxBlockRecords = 1'000'000;

}  // namespace

std::vector<SimChannel> parseChannelList(const std::string& text) {
    std::vector<SimChannel> channels;
    if (text.empty()) return channels;
    for (const std::string& entry : split(text, ',')) {
        const auto colon = entry.rfind(':');
        if (colon == std::string::npos) {
            channels.push_back({entry, ""});
        } else {
            channels.push_back({entry.substr(0, colon), entry.substr(colon + 1)});
        }
    }
    return channels;
}

float channelValue(std::size_t channel, std::uint64_t record) {
    constexpr double pi = 3.14159265358979323846;
    const double k = static_cast<double>(channel);
    // The harmonic wraps within the period, so the phase stays exact.
    const auto turns = static_cast<double>((record * (channel + 1)) % kValuePeriod) / static_cast<double>(kValuePeriod);
    return static_cast<float>(10.0 * k + (k + 1.0) * std::sin(2.0 * pi * turns));
}

DeviceModel::DeviceModel(const SimConfig& config) : config_(config) {}

double DeviceModel::deviceTime(double realSeconds) const {
    return config_.clockOffset + realSeconds * (1.0 + config_.driftPpm * 1e-6);
}

Phase phaseOf(const std::string& command) {
    if (command == "IDN?;") return Phase::Identify;
    if (command == "CFG?;") return Phase::Channels;
    if (command.rfind("RUN ", 0) == 0) return Phase::Start;
    if (command == "OMP?;" || command.rfind("RMB? ", 0) == 0) return Phase::Data;
    if (command == "STOP;") return Phase::Stop;
    return Phase::Other;
}

bool inPhase(Phase phase, const std::string& command) {
    if (phase == Phase::Blocks) return command.rfind("RMB? ", 0) == 0;
    return phaseOf(command) == phase;
}

std::optional<Phase> phaseNamed(const std::string& name) {
    static const std::pair<const char*, Phase> names[] = {{"identify", Phase::Identify},
                                                          {"channels", Phase::Channels},
                                                          {"start", Phase::Start},
                                                          {"data", Phase::Data},
                                                          {"blocks", Phase::Blocks},
                                                          {"stop", Phase::Stop}};
    for (const auto& [text, phase] : names) {
        if (name == text) return phase;
    }
    return std::nullopt;
}

DeviceModel::Reply DeviceModel::answer(const std::string& command, double realSeconds, const Faults& faults) {
    if (command == "IDN?;") return {framed("IDN?", config_.name, faults)};
    if (command == "CFG?;") return {framed("CFG?", configurationText(config_.channels), faults)};
    if (command.rfind("RUN ", 0) == 0) return run(command.substr(4), realSeconds, faults);
    if (command == "STOP;") {
        if (faults.refuseStop) return {status("STO", true, faults)};
        running_ = false;
        return {status("STO", false, faults)};
    }
    if (command == "OMP?;") {
        const std::uint64_t ready = readyRecords(realSeconds);
        return {count(static_cast<std::uint32_t>(std::min<std::uint64_t>(ready, kMaxBlockRecords)), faults)};
    }
    if (command.rfind("RMB? ", 0) == 0 && command.back() == ';') {
        const unsigned long requested = std::strtoul(command.c_str() + 5, nullptr, 10);
        const auto records = static_cast<std::uint32_t>(std::min<unsigned long>(requested, kMaxBlockRecords));
        return {block(records, faults.badStatusEvery), faults.closeMidBlock && records > 0};
    }
    return {status("ERR", true, faults)};
}

// RUN names the channels to sample by their full names, in the order their
// values are to come. A name the device does not have is refused, and the
// device keeps its state: it samples nothing new on a guess.
DeviceModel::Reply DeviceModel::run(const std::string& names, double realSeconds, const Faults& faults) {
    if (faults.refuseRun) return {status("RUN", true, faults)};
    std::vector<std::size_t> channels;
    // Every piece between commas is a name, so an empty one (",," or a
    // trailing comma) is one the device does not have.
    std::vector<std::string> pieces;
    if (!names.empty()) {
        pieces = split(names, ',');
        if (names.back() == ',') pieces.emplace_back();
    }
    for (const std::string& name : pieces) {
        const auto known = std::find_if(config_.channels.begin(), config_.channels.end(),
                                        [&](const SimChannel& c) { return c.fullName == name; });
        if (known == config_.channels.end()) return {status("RUN", true, faults)};
        channels.push_back(static_cast<std::size_t>(known - config_.channels.begin()));
    }
    running_ = true;
    runStart_ = deviceTime(realSeconds);
    runStartReal_ = realSeconds;
    handedOut_ = 0;
    runChannels_ = std::move(channels);
    buildPeriod();
    return {status("RUN", false, faults)};
}

std::uint64_t DeviceModel::readyRecords(double realSeconds) const {
    if (!running_) return 0;
    if (config_.freeRun) {
        return std::max<std::uint64_t>(1, std::llround(config_.freeRunSeconds * config_.sampleRate));
    }
    // Elapsed time from real time, not by subtracting large device times;
    // the epsilon keeps a record that is due exactly from being missed by
    // rounding.
    const double elapsed = (realSeconds - runStartReal_) * (1.0 + config_.driftPpm * 1e-6);
    const auto due =
        static_cast<std::uint64_t>(std::max(0.0, std::floor(elapsed * config_.sampleRate + 1e-6)));
    return due > handedOut_ ? due - handedOut_ : 0;
}

void DeviceModel::recycle(Bytes bytes) {
    if (bytes.capacity() > spare_.capacity()) spare_ = std::move(bytes);
}

Bytes DeviceModel::framed(const char* tag, const std::string& payload, const Faults& faults) {
    Bytes out;
    putText(out, tag);
    if (faults.oversizedLength) {
        putUint32(out, 0x7FFFFFF0u);
        return out;
    }
    putUint32(out, static_cast<std::uint32_t>(payload.size()));
    if (faults.shortReplies) {
        out.resize(5);
        return out;
    }
    putText(out, payload);
    putText(out, ";\n");
    return out;
}

Bytes DeviceModel::status(const char* tag, bool refused, const Faults& faults) {
    Bytes out;
    putText(out, tag);
    out.push_back(refused ? '?' : '0');
    putText(out, ";\n");
    if (faults.shortReplies) out.pop_back();
    if (faults.longReplies) out.push_back('\n');
    return out;
}

Bytes DeviceModel::count(std::uint32_t value, const Faults& faults) {
    Bytes out;
    putText(out, "OMP ");
    putUint32(out, value);
    putText(out, ";\n");
    if (faults.shortReplies) out.pop_back();
    if (faults.longReplies) out.push_back('\n');
    return out;
}

void DeviceModel::buildPeriod() {
    const std::size_t recordBytes = 20 + 4 * runChannels_.size();
    period_.assign(kValuePeriod * recordBytes, 0);
    for (std::uint64_t i = 0; i < kValuePeriod; ++i) {
        std::uint8_t* at = period_.data() + i * recordBytes;
        std::copy_n("REC0", 4, at);
        // Index 0 stands for the sequence numbers that are multiples of the
        // period.
        const std::uint64_t record = i == 0 ? kValuePeriod : i;
        for (std::size_t k = 0; k < runChannels_.size(); ++k) {
            writeUint32(at + 16 + 4 * k, std::bit_cast<std::uint32_t>(channelValue(runChannels_[k], record)));
        }
    }
}

// Records are stamped on the device clock at the sample rate from RUN on;
// each is handed out once. Their values come from the period built at RUN;
// only status, time stamp and sequence number are written per record.
Bytes DeviceModel::block(std::uint32_t records, std::uint32_t badStatusEvery) {
    const std::size_t recordBytes = 20 + 4 * runChannels_.size();
    Bytes out = std::move(spare_);
    // Room to spare, so that blocks that grow do not each take fresh memory.
    const std::size_t bytes = std::size_t{records} * recordBytes;
    if (out.capacity() < bytes) out.reserve(std::max(bytes * 2, out.capacity() * 2));
    out.resize(bytes);
    if (period_.empty()) buildPeriod();
    const auto every = badStatusEvery;
    for (std::uint32_t r = 0; r < records;) {
        const std::uint64_t first = handedOut_ + 1;
        const std::uint64_t index = first % kValuePeriod;
        const auto run = static_cast<std::uint32_t>(std::min<std::uint64_t>(records - r, kValuePeriod - index));
        std::uint8_t* at = out.data() + std::size_t{r} * recordBytes;
        std::memcpy(at, period_.data() + index * recordBytes, std::size_t{run} * recordBytes);
        for (std::uint32_t i = 0; i < run; ++i, at += recordBytes) {
            const std::uint64_t sequence = ++handedOut_;
            const double t = runStart_ + static_cast<double>(sequence) / config_.sampleRate;
            const double seconds = std::floor(t);
            if (every != 0 && sequence % every == 0) at[3] = '1';
            writeUint32(at + 4, static_cast<std::uint32_t>(static_cast<std::int32_t>(seconds)));
            writeUint32(at + 8, static_cast<std::uint32_t>(std::min(999'999'999.0, std::round((t - seconds) * 1e9))));
            writeUint32(at + 12, static_cast<std::uint32_t>(sequence));
        }
        r += run;
    }
    return out;
}

}  // namespace vexa::sim
