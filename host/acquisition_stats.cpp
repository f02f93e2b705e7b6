#include "host/acquisition_stats.h"

#include <algorithm>
#include <chrono>

#ifdef _WIN32
#include <windows.h>
#else
#include <ctime>
#endif

#include "host/objects/channel_ring.h"

namespace vexa::host {

namespace {

AllocationCounter allocationCounter = nullptr;

#ifdef _WIN32
double seconds(const FILETIME& kernel, const FILETIME& user) {
    const auto ticks = [](const FILETIME& time) {
        return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) * 1e-7;
}
#else
double seconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}
#endif

double percentile(std::vector<double> values, double share) {
    if (values.empty()) return 0;
    const auto at = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(at), values.end());
    return values[at];
}

}  // namespace

void installAllocationCounter(AllocationCounter counter) noexcept {
    allocationCounter = counter;
}

double threadCpuSeconds() noexcept {
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
    return seconds(kernel, user);
#else
    return seconds(CLOCK_THREAD_CPUTIME_ID);
#endif
}

double processCpuSeconds() noexcept {
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    return seconds(kernel, user);
#else
    return seconds(CLOCK_PROCESS_CPUTIME_ID);
#endif
}

AcquisitionStats::AcquisitionStats(double warmupSeconds, std::size_t expectedSteps) : warmupSeconds_(warmupSeconds) {
    // Room for every step up front: the host's own part allocates nothing
    // while it measures.
    stepMilliseconds_.reserve(expectedSteps + expectedSteps / 2 + 16);
}

AcquisitionStats::Mark AcquisitionStats::mark() const noexcept {
    Mark now;
    now.wall = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    now.threadCpu = threadCpuSeconds();
    now.allocations = allocationCounter != nullptr ? allocationCounter() : 0;
    now.ringBuffers = ChannelRing::buffersMade();
    return now;
}

void AcquisitionStats::beginStep(double hostSeconds, std::uint64_t recorded) {
    measuring_ = hostSeconds >= warmupSeconds_;
    if (measuring_ && firstProcessCpu_ < 0) {
        firstProcessCpu_ = processCpuSeconds();
        firstHostSeconds_ = lastHostSeconds_;
        firstRecorded_ = recorded;
    }
    lastHostSeconds_ = hostSeconds;
    if (measuring_) begin_ = mark();
}

void AcquisitionStats::afterPlugin() {
    if (measuring_) plugin_ = mark();
}

void AcquisitionStats::endStep(std::uint64_t recorded) {
    if (!measuring_) return;
    const Mark end = mark();
    // Ring buffers the host made while the plug-in wrote are the host's.
    const std::uint64_t ringInPlugin = plugin_.ringBuffers - begin_.ringBuffers;
    pluginCpu_ += plugin_.threadCpu - begin_.threadCpu;
    pluginAllocations_ += plugin_.allocations - begin_.allocations - ringInPlugin;
    hostAllocations_ += end.allocations - plugin_.allocations + ringInPlugin;
    stepMilliseconds_.push_back((end.wall - begin_.wall) * 1e3);
    lastProcessCpu_ = processCpuSeconds();
    lastRecorded_ = recorded;
}

void AcquisitionStats::write(std::FILE* out, std::uint64_t lost, std::size_t reports, long ringSamples) const {
    const std::size_t steps = stepMilliseconds_.size();
    const auto line = [out](const char* name, double value) { std::fprintf(out, "%s %.9g\n", name, value); };
    line("steps", static_cast<double>(steps));
    line("seconds", steps > 0 ? lastHostSeconds_ - firstHostSeconds_ : 0);
    line("values", static_cast<double>(lastRecorded_ - firstRecorded_));
    line("lost", static_cast<double>(lost));
    line("reports", static_cast<double>(reports));
    line("process_cpu_seconds", steps > 0 ? lastProcessCpu_ - firstProcessCpu_ : 0);
    line("plugin_cpu_seconds", pluginCpu_);
    line("allocations_counted", allocationCounter != nullptr ? 1 : 0);
    line("plugin_allocations", static_cast<double>(pluginAllocations_));
    line("host_allocations", static_cast<double>(hostAllocations_));
    line("step_p50_ms", percentile(stepMilliseconds_, 0.50));
    line("step_p99_ms", percentile(stepMilliseconds_, 0.99));
    line("step_max_ms", percentile(stepMilliseconds_, 1.0));
    line("ring_samples", static_cast<double>(ringSamples));
}

}  // namespace vexa::host
