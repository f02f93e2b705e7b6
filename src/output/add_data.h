// Where a channel's samples go. The channel picks one strategy from the
// host's state: a live preview while the host is in setup, the host's
// buffers while it acquires a used channel, nowhere for an unused one.
#pragma once

#include <cstddef>
#include <memory>

#include "platform/com_error.h"
#include "platform/com_ptr.h"
#include "contract/host_app.h"
#include "contract/host_channels.h"

namespace Nerova::Utils::Ncom::OutputChannel {

class IAddData {
public:
    virtual ~IAddData() = default;

    // The host's single value of the channel.
    virtual void setValue(const void* data, std::size_t size) = 0;
    // The host's single array value; at most one array sample is copied.
    virtual void setArrayValue(const void* data, std::size_t size) = 0;
    // One sample of a synchronous channel.
    virtual void addSample(const void* data, std::size_t size) = 0;
    // `time` is in seconds of the host's acquisition clock.
    virtual void addTimedSample(const void* data, std::size_t size, double time) = 0;
    virtual void addTimedArraySample(const void* data, std::size_t size, double time) = 0;
    virtual void addTimedBinarySample(const void* data, std::size_t size, double time) = 0;
    // The last previewed value, as the host scales it.
    virtual double lastValue() const = 0;

protected:
    explicit IAddData(vexa::ComPtr<HostChannel> channel) noexcept : channel_(std::move(channel)) {}
    IAddData(const IAddData&) = delete;
    IAddData& operator=(const IAddData&) = delete;

    // E_POINTER when the strategy was made without a channel.
    HostChannel* channel() const { return vexa::required(channel_); }
    const vexa::ComPtr<HostChannel>& channelReference() const noexcept { return channel_; }

private:
    vexa::ComPtr<HostChannel> channel_;
};

// Drops every sample.
class AddDataEmpty final : public IAddData {
public:
    explicit AddDataEmpty(vexa::ComPtr<HostChannel> channel) noexcept : IAddData(std::move(channel)) {}

    void setValue(const void*, std::size_t) override {}
    void setArrayValue(const void*, std::size_t) override {}
    void addSample(const void*, std::size_t) override {}
    void addTimedSample(const void*, std::size_t, double) override {}
    void addTimedArraySample(const void*, std::size_t, double) override {}
    void addTimedBinarySample(const void*, std::size_t, double) override {}
    double lastValue() const override { return 0.0; }
};

// Copies straight into the host's buffers at the host's write position and
// advances it; the position and its wrap-around are the host's. Nothing
// is allocated per sample except for binary samples.
class AddDataDirect final : public IAddData {
public:
    explicit AddDataDirect(vexa::ComPtr<HostChannel> channel) noexcept : IAddData(std::move(channel)) {}

    void setValue(const void* data, std::size_t size) override;
    void setArrayValue(const void* data, std::size_t size) override;
    void addSample(const void* data, std::size_t size) override;
    void addTimedSample(const void* data, std::size_t size, double time) override;
    void addTimedArraySample(const void* data, std::size_t size, double time) override;
    void addTimedBinarySample(const void* data, std::size_t size, double time) override;
    double lastValue() const override { return 0.0; }

private:
    // Copies at most one sample of `sampleBytes` to the given slot.
    void copySample(const void* data, std::size_t size, std::size_t sampleBytes, LONG slot);
    void writeTimed(const void* data, std::size_t size, std::size_t sampleBytes, double time);
    std::size_t valueBytes();
    std::size_t arrayBytes();
};

// Keeps the host-scaled first value of every sample for the live view, and
// passes the sample on to the host's buffers when the channel is used.
class AddDataInSetup final : public IAddData {
public:
    explicit AddDataInSetup(vexa::ComPtr<HostChannel> channel) noexcept
        : IAddData(channel), direct_(std::move(channel)) {}

    void setValue(const void* data, std::size_t size) override;
    void setArrayValue(const void* data, std::size_t size) override;
    void addSample(const void* data, std::size_t size) override;
    void addTimedSample(const void* data, std::size_t size, double time) override;
    void addTimedArraySample(const void* data, std::size_t size, double time) override;
    void addTimedBinarySample(const void* data, std::size_t size, double time) override;
    double lastValue() const override { return lastValue_; }

private:
    // Stores the preview; true when the sample also goes to the host.
    bool preview(const void* data, std::size_t size);

    AddDataDirect direct_;
    double lastValue_ = 0.0;
};

// The strategy for the host's current state: none without a channel.
std::unique_ptr<IAddData> makeAddData(HostApp* app, const vexa::ComPtr<HostChannel>& channel);

}  // namespace Nerova::Utils::Ncom::OutputChannel
