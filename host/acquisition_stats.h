// What a benchmark wants to know of an acquisition, measured by the host
// around each data step once the run has warmed up: how long the step took,
// the CPU time and heap allocations of the plug-in's part (the data step
// call) and of the host's own part (recording), and the process's CPU time
// over the whole measured stretch.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace vexa::host {

// Heap allocations the calling thread has made so far. A program that
// counts them (vexa-host replaces operator new) installs its counter
// before the run; without one, allocations are not reported.
using AllocationCounter = std::uint64_t (*)() noexcept;
void installAllocationCounter(AllocationCounter counter) noexcept;

double threadCpuSeconds() noexcept;
double processCpuSeconds() noexcept;

class AcquisitionStats {
public:
    // Steps whose host time is below `warmupSeconds` are not measured: the
    // plug-in sizes its storage and the host its rings in the first steps.
    AcquisitionStats(double warmupSeconds, std::size_t expectedSteps);

    // Around one data step: before the plug-in's call, after it, and after
    // the host recorded the step. `recorded` is every sample recorded so far.
    void beginStep(double hostSeconds, std::uint64_t recorded);
    void afterPlugin();
    void endStep(std::uint64_t recorded);

    // One "name value" line per figure; `ringSamples` is the length of the
    // channels' rings at the end.
    void write(std::FILE* out, std::uint64_t lost, std::size_t reports, long ringSamples) const;

private:
    struct Mark {
        double wall = 0;
        double threadCpu = 0;
        std::uint64_t allocations = 0;
        std::uint64_t ringBuffers = 0;
    };
    Mark mark() const noexcept;

    double warmupSeconds_;
    bool measuring_ = false;  // the current step counts
    double lastHostSeconds_ = 0;
    double firstHostSeconds_ = 0;  // host time of the step before the first measured one
    std::uint64_t firstRecorded_ = 0;
    std::uint64_t lastRecorded_ = 0;
    double firstProcessCpu_ = -1;
    double lastProcessCpu_ = 0;
    Mark begin_;
    Mark plugin_;
    double pluginCpu_ = 0;
    std::uint64_t pluginAllocations_ = 0;
    std::uint64_t hostAllocations_ = 0;
    std::vector<double> stepMilliseconds_;
};

}  // namespace vexa::host
