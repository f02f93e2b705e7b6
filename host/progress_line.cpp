#include "host/progress_line.h"

#include "host/sample_recorder.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace vexa::host {

namespace {

constexpr double kLiveWindowSeconds = 1.0;

std::string format(const char* pattern, auto... values) {
    char text[160];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

}  // namespace

bool isTerminal(std::FILE* stream) {
#ifdef _WIN32
    return _isatty(_fileno(stream)) != 0;
#else
    return isatty(fileno(stream)) != 0;
#endif
}

std::string progressText(const ProgressFigures& f) {
    return format("%7.1f s  %10llu values  %9.0f values/s  %zu/%zu channels live  %llu lost  %zu reports",
                  f.seconds, static_cast<unsigned long long>(f.values), f.valuesPerSecond(), f.channelsLive,
                  f.channels, static_cast<unsigned long long>(f.lost), f.reports);
}

std::string totalsText(const ProgressFigures& f) {
    return format("total: %llu values in %.1f s, %.0f values/s, %llu lost", static_cast<unsigned long long>(f.values),
                  f.seconds, f.valuesPerSecond(), static_cast<unsigned long long>(f.lost));
}

ProgressFigures ProgressTracker::update(double seconds, const SampleRecorder& recorder, std::size_t channels,
                                        std::size_t reports) {
    ProgressFigures figures;
    figures.seconds = seconds;
    figures.channels = channels;
    figures.lost = recorder.lost();
    figures.reports = reports;
    for (const auto& [name, count] : recorder.counts()) {
        Seen& seen = seen_[name];
        if (count > seen.count) seen = {count, seconds};
        figures.values += count;
        if (seconds - seen.grewAt <= kLiveWindowSeconds) ++figures.channelsLive;
    }
    return figures;
}

void ProgressLine::show(const std::string& text) {
    if (out_ == nullptr) return;
    // Spaces cover what is left of a longer previous line.
    const std::size_t blanks = shown_ > text.size() ? shown_ - text.size() : 0;
    std::fprintf(out_, "\r%s%*s", text.c_str(), static_cast<int>(blanks), "");
    std::fflush(out_);
    shown_ = text.size() + blanks;
}

void ProgressLine::clear() {
    if (out_ == nullptr || shown_ == 0) return;
    std::fprintf(out_, "\r%*s\r", static_cast<int>(shown_), "");
    std::fflush(out_);
    shown_ = 0;
}

}  // namespace vexa::host
