// One device's data step without the network: a socket that answers OMP?
// and RMB? from memory feeds readMeasurements, which decodes the block and
// hands every value to the reference host's channels. Beside it, the floor:
// the host calls of the same values alone. Both per value, for the block
// shapes of the end-to-end configurations.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "device/vexa_device.h"
#include "host_call_loop.h"
#include "output/output_channel.h"
#include "output/output_factory.h"
#include "support/test_host.h"

namespace {

using namespace Nerova::NvLib::Protocols::Ethernet;
using Bytes = std::vector<std::uint8_t>;

void put(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}
void put(Bytes& out, const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }

Bytes framed(const std::string& tag, const std::string& payload) {
    Bytes out;
    put(out, tag);
    put(out, static_cast<std::uint32_t>(payload.size()));
    put(out, payload + ";\n");
    return out;
}

// Answers each command from memory; every block is the same records.
class MemoryDevice final : public ITcpSocket {
public:
    MemoryDevice(std::size_t channels, std::uint32_t records) : records_(records) {
        std::string list;
        for (std::size_t k = 0; k < channels; ++k) {
            if (k > 0) list += ' ';
            list.append("channel ").append(std::to_string(k + 1)).append(" name 'B/C");
            list.append(std::to_string(k)).append("' unit 'V'");
        }
        configuration_ = framed("CFG?", list);
        for (std::uint32_t r = 0; r < records; ++r) {
            put(block_, "REC0");
            put(block_, 1000u);
            put(block_, r * 10'000u);
            put(block_, r);
            for (std::size_t k = 0; k < channels; ++k) put(block_, std::bit_cast<std::uint32_t>(static_cast<float>(k + r)));
            put(block_, 0u);
        }
        put(count_, "OMP ");
        put(count_, records);
        put(count_, ";\n");
    }

    NetworkEndpoint localEndpoint() const override { return {"127.0.0.1", "1"}; }
    NetworkEndpoint remoteEndpoint() const override { return {"127.0.0.1", "2"}; }
    bool isOpen() const override { return true; }
    void close() override {}
    void write(const void* data, std::size_t count) override {
        const std::string_view command(static_cast<const char*>(data), count);
        reply_ = command.starts_with("IDN?") ? &identity_
                 : command.starts_with("CFG?") ? &configuration_
                 : command.starts_with("OMP?") ? &count_
                 : command.starts_with("RMB?") ? &block_
                                              : &status_;
        at_ = 0;
    }
    std::size_t receive(void* buffer, std::size_t& size) override {
        size = std::min(size, reply_->size() - at_);
        std::memcpy(buffer, reply_->data() + at_, size);
        at_ += size;
        return size;
    }

private:
    std::uint32_t records_;
    Bytes identity_ = framed("IDN?", "Memory");
    Bytes configuration_;
    Bytes count_;
    Bytes block_;
    Bytes status_ = {'R', 'U', 'N', '0', ';', '\n'};
    const Bytes* reply_ = &status_;
    std::size_t at_ = 0;
};

void BM_DataStep(benchmark::State& state) {
    const auto channels = static_cast<std::size_t>(state.range(0));
    const auto records = static_cast<std::uint32_t>(state.range(1));
    vexa::host::TestHost host;
    host.group->setBufferLength(1 << 14);
    Nerova::Utils::Ncom::OutputChannel::OutputFactoryImpl factory;
    factory.setHost(vexa::host::asInterface<HostApp>(host.app), host.pluginId,
                    static_cast<HostChannelGroup*>(host.group.get()));
    auto device = VexaDevice::create("127.0.0.1", 1, &factory);
    device->setConnector([&](auto&&...) { return std::make_unique<MemoryDevice>(channels, records); });
    device->openConnection();
    device->readSystemConfig();
    for (const auto& channel : device->channelTable().allChannels()) channel->createOutput(~0u);
    factory.refreshAddData();
    device->startAcquisition();
    double hostTime = 1.0;
    for (auto _ : state) device->readMeasurements(hostTime += 0.01);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(records * channels));
}

void BM_HostCallFloor(benchmark::State& state) {
    const auto channels = static_cast<std::size_t>(state.range(0));
    const auto records = static_cast<std::size_t>(state.range(1));
    std::vector<vexa::host::ChannelPtr> objects;
    std::vector<HostChannel*> interfaces;
    for (std::size_t k = 0; k < channels; ++k) {
        objects.push_back(vexa::host::makeHostObject<vexa::host::ChannelObject>(1 << 14));
        objects.back()->settings().used = true;
        interfaces.push_back(objects.back().get());
    }
    for (auto _ : state) vexa::bench::writeTimedSamples(interfaces.data(), channels, channels, records, records * channels);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(records * channels));
}

// Channels and records per block: the end-to-end configurations at 10 ms.
BENCHMARK(BM_DataStep)->Args({4, 10})->Args({32, 100})->Args({32, 10'000})->Args({256, 1000})->Args({256, 4000});
BENCHMARK(BM_HostCallFloor)->Args({4, 10})->Args({32, 100})->Args({32, 10'000})->Args({256, 1000});

}  // namespace
