// The per-sample path from a device value to the host's buffers: the clock
// conversion and one timed sample into a host channel, in the acquisition
// strategy and in the setup strategy.
#include <benchmark/benchmark.h>

#include <memory>

#include "output/output_factory.h"
#include "sync/soft_sync.h"
#include "support/test_host.h"

namespace {

using namespace Nerova::Utils::Ncom::OutputChannel;
using Nerova::Utils::Synchronization::SoftSyncAlgorithm;
using vexa::host::asInterface;
using vexa::host::TestHost;

struct BoundFactory {
    explicit BoundFactory(bool setupMode) {
        host.app->setSetupMode(setupMode);
        host.group->setBufferLength(1 << 16);
        factory.setHost(asInterface<HostApp>(host.app), host.pluginId,
                        static_cast<HostChannelGroup*>(host.group.get()));
        channel = factory.createOutputChannel(timedDoubleChannel, nullptr);
        factory.refreshAddData();
    }
    TestHost host;
    OutputFactoryImpl factory;
    std::shared_ptr<OutputChannel> channel;
};

void timedSample(benchmark::State& state, bool setupMode) {
    BoundFactory bound(setupMode);
    double time = 0.0;
    for (auto _ : state) {
        const double value = time * 0.5;
        bound.channel->addTimedSample(&value, sizeof value, time);
        time += 0.001;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_TimedSampleDuringAcquisition(benchmark::State& state) { timedSample(state, false); }
void BM_TimedSampleInSetup(benchmark::State& state) { timedSample(state, true); }

void BM_ClockConversion(benchmark::State& state) {
    SoftSyncAlgorithm sync;
    sync.start();
    double device = 1.0;
    for (int i = 0; i < 10; ++i, device += 0.1) sync.addPoint(2.0 * device + 10.0, device);
    for (auto _ : state) {
        benchmark::DoNotOptimize(sync.toHostTime(device));
        device += 1e-6;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_ClockFitPerBlock(benchmark::State& state) {
    SoftSyncAlgorithm sync;
    sync.start();
    double device = 1.0;
    for (auto _ : state) {
        sync.addPoint(2.0 * device + 10.0, device);
        device += 0.01;
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_TimedSampleDuringAcquisition);
BENCHMARK(BM_TimedSampleInSetup);
BENCHMARK(BM_ClockConversion);
BENCHMARK(BM_ClockFitPerBlock);

}  // namespace
