// A long acquisition on a terminal shows how it goes on one line that
// updates in place, and ends with its totals. Nothing of it is written when
// the output is not a terminal, so scripts and tests see the plain summary.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

namespace vexa::host {

class SampleRecorder;

bool isTerminal(std::FILE* stream);

// What the host knows about a run. The host never learns which devices the
// plug-in is connected to; what it sees is which of its channels are still
// fed, and the errors the plug-in reported (a lost device is reported once).
struct ProgressFigures {
    double seconds = 0;
    std::uint64_t values = 0;  // samples recorded from every channel
    std::size_t channelsLive = 0;  // channels fed during the last second
    std::size_t channels = 0;
    std::uint64_t lost = 0;  // ring-buffer samples overwritten before they were recorded
    std::size_t reports = 0;  // error reports from the plug-in
    double valuesPerSecond() const { return seconds > 0 ? static_cast<double>(values) / seconds : 0.0; }
};

std::string progressText(const ProgressFigures& figures);
std::string totalsText(const ProgressFigures& figures);

// Turns the recorder's running counts into figures, remembering when each
// channel last grew.
class ProgressTracker {
public:
    ProgressFigures update(double seconds, const SampleRecorder& recorder, std::size_t channels,
                           std::size_t reports);

private:
    struct Seen {
        std::uint64_t count = 0;
        double grewAt = 0;
    };
    std::map<std::string, Seen> seen_;
};

// One line rewritten in place with a carriage return (no escape sequences,
// so a Windows console shows it too). Before anything else writes to the
// terminal the line is cleared, so error reports start at the left margin.
class ProgressLine {
public:
    // `out` null: shows nothing.
    explicit ProgressLine(std::FILE* out) : out_(out) {}
    ~ProgressLine() { clear(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void show(const std::string& text);
    void clear();

private:
    std::FILE* out_;
    std::size_t shown_ = 0;  // characters on the line now
};

}  // namespace vexa::host
