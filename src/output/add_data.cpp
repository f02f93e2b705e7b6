#include "output/add_data.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "output/output_types.h"
#include "platform/variant.h"
#include "platform/com_call.h"

namespace Nerova::Utils::Ncom::OutputChannel {

namespace {

template <class T>
double as(const void* data) noexcept {
    T value;
    std::memcpy(&value, data, sizeof value);
    return static_cast<double>(value);
}

std::size_t typeSize(std::uint32_t dataType) noexcept {
    switch (dataType) {
    case HostDataType::UInt8: case HostDataType::Int8: return 1;
    case HostDataType::Int16: case HostDataType::UInt16: return 2;
    case HostDataType::Int32: case HostDataType::Float: case HostDataType::UInt32: return 4;
    case HostDataType::Int64: case HostDataType::Double: case HostDataType::ComplexFloat: return 8;
    case HostDataType::ComplexDouble: return 16;
    default: return 0;
    }
}

std::size_t hostSize(LONG value) noexcept { return value > 0 ? static_cast<std::size_t>(value) : 0; }

// One value copied into the host's buffer. The usual sizes are copied as a
// whole, without a call to memcpy for a few bytes.
void copyValue(BYTE* to, const void* from, std::size_t count) noexcept {
    switch (count) {
    case 8: std::memcpy(to, from, 8); break;
    case 4: std::memcpy(to, from, 4); break;
    default: std::memcpy(to, from, count);
    }
}

// A host call that answers one value, on a channel known to be there.
template <class R>
R ask(HostChannel* host, HRESULT (HostChannel::*method)(R*)) {
    R value{};
    vexa::checkCall((host->*method)(&value), host);
    return value;
}

}  // namespace

double previewValue(std::uint32_t dataType, const void* data, std::size_t size) noexcept {
    const std::size_t needed = typeSize(dataType);
    if (needed == 0 || size < needed || data == nullptr) return 0.0;
    const auto* bytes = static_cast<const unsigned char*>(data);
    switch (dataType) {
    case HostDataType::UInt8: return as<std::uint8_t>(data);
    case HostDataType::Int8: return as<std::int8_t>(data);
    case HostDataType::Int16: return as<std::int16_t>(data);
    case HostDataType::UInt16: return as<std::uint16_t>(data);
    case HostDataType::Int32: return as<std::int32_t>(data);
    case HostDataType::Float: return as<float>(data);
    case HostDataType::Int64: return as<std::int64_t>(data);
    case HostDataType::Double: return as<double>(data);
    case HostDataType::UInt32: return as<std::uint32_t>(data);
    case HostDataType::ComplexFloat: return std::hypot(as<float>(bytes), as<float>(bytes + 4));
    case HostDataType::ComplexDouble: return std::hypot(as<double>(bytes), as<double>(bytes + 8));
    default: return 0.0;
    }
}

// ---- AddDataDirect ----

// The copy never runs past one sample of the host's buffer, whatever size
// the caller hands in.
void AddDataDirect::copySample(const void* data, std::size_t size, std::size_t sampleBytes, LONG slot) {
    HostChannel* host = channel();
    BYTE* base = vexa::callGet(host, &HostChannel::GetSampleBuffer);
    if (base == nullptr) vexa::throwComError(E_POINTER, vexa::interfaceId<HostChannel>());
    const std::size_t count = std::min(size, sampleBytes);
    if (count > 0) copyValue(base + hostSize(slot) * sampleBytes, data, count);
}

std::size_t AddDataDirect::valueBytes() {
    return hostSize(vexa::callGet(channel(), &HostChannel::GetValueSize));
}

std::size_t AddDataDirect::arrayBytes() {
    return valueBytes() * hostSize(vexa::callGet(channel(), &HostChannel::GetArraySize));
}

// One sample and its time stamp at the write position, which then advances.
void AddDataDirect::writeTimed(const void* data, std::size_t size, std::size_t sampleBytes, double time) {
    HostChannel* host = channel();
    const LONG position = vexa::callGet(host, &HostChannel::GetWritePosition);
    copySample(data, size, sampleBytes, position);
    DOUBLE* times = vexa::callGet(host, &HostChannel::GetTimeBuffer);
    if (times == nullptr) vexa::throwComError(E_POINTER, vexa::interfaceId<HostChannel>());
    times[hostSize(position)] = time;
    vexa::callSet(host, &HostChannel::AdvanceWritePosition, 1);
}

void AddDataDirect::setValue(const void* data, std::size_t size) { copySample(data, size, valueBytes(), 0); }

void AddDataDirect::setArrayValue(const void* data, std::size_t size) { copySample(data, size, arrayBytes(), 0); }

void AddDataDirect::addSample(const void* data, std::size_t size) {
    HostChannel* host = channel();
    copySample(data, size, valueBytes(), vexa::callGet(host, &HostChannel::GetWritePosition));
    vexa::callSet(host, &HostChannel::AdvanceWritePosition, 1);
}

// The path of every acquired value: the same calls as writeTimed (value
// size, write position, sample buffer, time buffer, advance), in one body.
void AddDataDirect::addTimedSample(const void* data, std::size_t size, double time) {
    HostChannel* host = channel();
    const std::size_t valueSize = hostSize(ask(host, &HostChannel::GetValueSize));
    const std::size_t position = hostSize(ask(host, &HostChannel::GetWritePosition));
    BYTE* samples = ask(host, &HostChannel::GetSampleBuffer);
    if (samples == nullptr) vexa::throwComError(E_POINTER, vexa::interfaceId<HostChannel>());
    if (const std::size_t count = std::min(size, valueSize); count > 0) {
        copyValue(samples + position * valueSize, data, count);
    }
    DOUBLE* times = ask(host, &HostChannel::GetTimeBuffer);
    if (times == nullptr) vexa::throwComError(E_POINTER, vexa::interfaceId<HostChannel>());
    times[position] = time;
    vexa::checkCall(host->AdvanceWritePosition(1), host);
}

void AddDataDirect::addTimedArraySample(const void* data, std::size_t size, double time) {
    writeTimed(data, size, arrayBytes(), time);
}

void AddDataDirect::addTimedBinarySample(const void* data, std::size_t size, double time) {
    HostChannel* host = channel();
    vexa::SafeArray bytes(VT_UI1, 0, static_cast<ULONG>(size));
    if (size > 0) std::memcpy(vexa::SafeArrayLock<BYTE>(bytes.get()).elements().data(), data, size);
    vexa::Variant argument = vexa::Variant::ofArray(std::move(bytes));
    vexa::checkCall(host->AddTimedBinarySample(time, argument.get()), host);
}

// ---- AddDataInSetup ----

bool AddDataInSetup::preview(const void* data, std::size_t size) {
    HostChannel* host = channel();
    const auto dataType = static_cast<std::uint32_t>(vexa::callGet(host, &HostChannel::GetDataType));
    DOUBLE scaled = 0.0;
    vexa::checkCall(host->ScaleValue(previewValue(dataType, data, size), &scaled), host);
    lastValue_ = scaled;
    return vexa::callGet(host, &HostChannel::GetUsed) != VARIANT_FALSE;
}

void AddDataInSetup::setValue(const void* data, std::size_t size) {
    if (preview(data, size)) direct_.setValue(data, size);
}

void AddDataInSetup::setArrayValue(const void* data, std::size_t size) {
    if (preview(data, size)) direct_.setArrayValue(data, size);
}

void AddDataInSetup::addSample(const void* data, std::size_t size) {
    if (preview(data, size)) direct_.addSample(data, size);
}

void AddDataInSetup::addTimedSample(const void* data, std::size_t size, double time) {
    if (preview(data, size)) direct_.addTimedSample(data, size, time);
}

void AddDataInSetup::addTimedArraySample(const void* data, std::size_t size, double time) {
    if (preview(data, size)) direct_.addTimedArraySample(data, size, time);
}

void AddDataInSetup::addTimedBinarySample(const void* data, std::size_t size, double time) {
    if (preview(data, size)) direct_.addTimedBinarySample(data, size, time);
}

std::unique_ptr<IAddData> makeAddData(HostApp* app, const vexa::ComPtr<HostChannel>& channel) {
    if (!channel) return nullptr;
    // Only the host's own "true" means setup; any other value does not.
    if (vexa::callGet(app, &HostApp::IsSetupMode) == VARIANT_TRUE) return std::make_unique<AddDataInSetup>(channel);
    if (vexa::callGet(channel.get(), &HostChannel::GetUsed) == VARIANT_TRUE)
        return std::make_unique<AddDataDirect>(channel);
    return std::make_unique<AddDataEmpty>(channel);
}

}  // namespace Nerova::Utils::Ncom::OutputChannel
