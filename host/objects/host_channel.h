// A reference host output channel: what the plug-in sets is kept in public
// settings the host reads back, and samples land in ring buffers of values
// and time stamps that the plug-in writes at the host's write position.
//
// Assumptions about the real host:
// - Its flags may hold any 16-bit value (a host written in C++ may answer 1
//   for true); the settings keep them as HostFlag so that tests can answer
//   such values. Flags the plug-in passes must be VARIANT_TRUE or
//   VARIANT_FALSE; any other value is refused with E_INVALIDARG.
// - A channel its group has removed is gone for the host: the object lives
//   on while the plug-in holds a reference, but every call on it answers
//   RPC_E_DISCONNECTED (see ChannelObject::removedAnswer) and changes
//   nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/objects/channel_parts.h"
#include "host/objects/channel_ring.h"
#include "host/objects/host_flag.h"
#include "host/objects/host_object.h"
#include "contract/host_channels.h"

namespace vexa::host {

// Bytes of one value of a host data type; 0 for a code the host does not
// know.
std::size_t dataTypeSize(LONG dataType) noexcept;
// The first value of a sample as a number; 0.0 for an unknown type or too
// few bytes.
double sampleToDouble(LONG dataType, const std::byte* data, std::size_t size) noexcept;

struct ChannelSettings {
    LONG id = 0;                          // the identifier the plug-in created it with
    std::vector<std::int32_t> indexPath;  // where the channel stands in the host
    std::string name;
    std::string unit;
    LONG color = 0;
    HostFlag used;
    HostFlag stored;
    LONG dataType = 7;
    HostFlag asynchronous;  // the first kind flag
    HostFlag singleValue;   // the second kind flag
    // The scaled preview is value * scale + offset.
    double scale = 1.0;
    double offset = 0.0;
    // Properties the host passes through without meaning to the plug-in.
    HostFlag flag24;
    HostFlag flag125;
    bool carriesArrays = false;
    std::string text40;
    std::string text199;
    std::string text201;
    std::string controlText;
    LONG integer38 = 0;
    LONG integer73 = 0;
    LONG integer75 = 0;
    LONG integer138 = 0;
    LONG integer140 = 0;
    LONG integer174 = 0;
    LONG outputParameter = 0;
    float float63 = 0.0F;
    float float65 = 0.0F;
    float float131 = 0.0F;
    double double67 = 0.0;
    double double69 = 0.0;
    std::vector<std::int32_t> dimensions;
    LONG valuesPerSample = 1;
    LONG bufferOffset = 0;  // last alignment the plug-in asked for
    bool active = false;
    int retainMarks = 0;
};

struct BinarySample {
    double time;
    std::vector<std::uint8_t> bytes;
};

class ChannelObject final : public HostObject<HostChannel, HostChannelControl> {
public:
    // RPC_E_DISCONNECTED: "The object invoked has disconnected from its
    // clients".
    static constexpr HRESULT removedAnswer = static_cast<HRESULT>(0x80010108UL);

    explicit ChannelObject(LONG bufferLength = 1024);

    // The group has let go of the channel: from now on every call on it
    // answers removedAnswer.
    void markRemoved() noexcept { refuseEveryCall(removedAnswer); }
    bool removed() const noexcept { return refusesEveryCall(); }

    ChannelSettings& settings() noexcept { return settings_; }
    const ChannelSettings& settings() const noexcept { return settings_; }

    // Buffers: `bufferLength` samples of valueSize * arraySize bytes.
    LONG bufferLength() const noexcept { return ring_.length(); }
    // Longer or shorter buffers that keep the newest samples.
    void setBufferLength(LONG samples);
    LONG arraySize() const noexcept { return arraySize_; }
    // New, empty buffers: the samples change their layout.
    void setArraySize(LONG values);
    LONG writePosition() const noexcept { return ring_.position(); }
    // Samples written over the channel's life, wrapped or not, and the
    // oldest of them the buffers still hold (see ChannelRing).
    std::uint64_t samplesWritten() const noexcept { return ring_.written(); }
    std::uint64_t oldestHeld() const noexcept { return ring_.oldestHeld(); }
    // Where sample `n` (oldestHeld() <= n < samplesWritten()) lies.
    LONG positionOf(std::uint64_t n) const noexcept { return ring_.positionOf(n); }
    // A reader took every sample before `n`; see ChannelRing::setHoldSeconds.
    void markRead(std::uint64_t n) noexcept { ring_.markRead(n); }
    void setHoldSeconds(double seconds) noexcept { ring_.setHoldSeconds(seconds); }
    const std::byte* sampleAt(LONG position) const;
    double timeAt(LONG position) const;
    // The first value of the sample at `position` as a number.
    double valueAt(LONG position) const;
    const std::vector<BinarySample>& binarySamples() const noexcept { return binarySamples_; }

    EntryListObject& entries() const noexcept { return *entries_; }
    ArrayDescriptionObject& arrayDescription() const noexcept { return *array_; }
    PropertyCollectionObject& properties() const noexcept { return *properties_; }

    // HostChannel
    HRESULT STDMETHODCALLTYPE GetBufferLength(LONG* samples) override;
    HRESULT STDMETHODCALLTYPE GetWritePosition(LONG* position) override;
    HRESULT STDMETHODCALLTYPE GetName(BSTR* name) override;
    HRESULT STDMETHODCALLTYPE SetName(BSTR name) override;
    HRESULT STDMETHODCALLTYPE GetUsed(VARIANT_BOOL* used) override;
    HRESULT STDMETHODCALLTYPE SetUsed(VARIANT_BOOL used) override;
    HRESULT STDMETHODCALLTYPE GetBool24(VARIANT_BOOL* value) override;
    HRESULT STDMETHODCALLTYPE SetBool25(VARIANT_BOOL value) override;
    HRESULT STDMETHODCALLTYPE GetDataType(LONG* type) override;
    HRESULT STDMETHODCALLTYPE GetValueSize(LONG* bytes) override;
    HRESULT STDMETHODCALLTYPE GetAsynchronousFlag(VARIANT_BOOL* flag) override;
    HRESULT STDMETHODCALLTYPE GetInteger38(LONG* value) override;
    HRESULT STDMETHODCALLTYPE GetText40(BSTR* text) override;
    HRESULT STDMETHODCALLTYPE SetText41(BSTR text) override;
    HRESULT STDMETHODCALLTYPE GetUnit(BSTR* unit) override;
    HRESULT STDMETHODCALLTYPE SetUnit(BSTR unit) override;
    HRESULT STDMETHODCALLTYPE GetOutputParameter(LONG* value) override;
    HRESULT STDMETHODCALLTYPE SetOutputParameter(LONG value) override;
    HRESULT STDMETHODCALLTYPE GetColor(LONG* rgb) override;
    HRESULT STDMETHODCALLTYPE SetColor(LONG rgb) override;
    HRESULT STDMETHODCALLTYPE GetFloat63(FLOAT* value) override;
    HRESULT STDMETHODCALLTYPE SetFloat64(FLOAT value) override;
    HRESULT STDMETHODCALLTYPE GetFloat65(FLOAT* value) override;
    HRESULT STDMETHODCALLTYPE SetFloat66(FLOAT value) override;
    HRESULT STDMETHODCALLTYPE GetDouble67(DOUBLE* value) override;
    HRESULT STDMETHODCALLTYPE SetDouble68(DOUBLE value) override;
    HRESULT STDMETHODCALLTYPE GetDouble69(DOUBLE* value) override;
    HRESULT STDMETHODCALLTYPE SetDouble70(DOUBLE value) override;
    HRESULT STDMETHODCALLTYPE AdvanceWritePosition(LONG samples) override;
    HRESULT STDMETHODCALLTYPE SetInteger73(LONG value) override;
    HRESULT STDMETHODCALLTYPE GetInteger75(LONG* value) override;
    HRESULT STDMETHODCALLTYPE SetInteger76(LONG value) override;
    HRESULT STDMETHODCALLTYPE SetBufferOffset(LONG offset) override;
    HRESULT STDMETHODCALLTYPE GetValuesPerSample(LONG* count) override;
    HRESULT STDMETHODCALLTYPE GetEntryList(HostEntryList** list) override;
    HRESULT STDMETHODCALLTYPE SetDataType(LONG type) override;
    HRESULT STDMETHODCALLTYPE GetSingleValueFlag(VARIANT_BOOL* flag) override;
    HRESULT STDMETHODCALLTYPE SetAsynchronousFlag(VARIANT_BOOL flag) override;
    HRESULT STDMETHODCALLTYPE SetSingleValueFlag(VARIANT_BOOL flag) override;
    HRESULT STDMETHODCALLTYPE GetStored(VARIANT_BOOL* stored) override;
    HRESULT STDMETHODCALLTYPE SetStored(VARIANT_BOOL stored) override;
    HRESULT STDMETHODCALLTYPE SerializeSettings(VARIANT* document, VARIANT* element, VARIANT_BOOL saving) override;
    HRESULT STDMETHODCALLTYPE GetArrayDescription(HostArrayDescription** description) override;
    HRESULT STDMETHODCALLTYPE GetBool125(VARIANT_BOOL* value) override;
    HRESULT STDMETHODCALLTYPE SetCarriesArrays(VARIANT_BOOL arrays) override;
    HRESULT STDMETHODCALLTYPE GetArraySize(LONG* values) override;
    HRESULT STDMETHODCALLTYPE GetFloat131(FLOAT* value) override;
    HRESULT STDMETHODCALLTYPE SetFloat132(FLOAT value) override;
    HRESULT STDMETHODCALLTYPE SetInteger138(LONG value) override;
    HRESULT STDMETHODCALLTYPE SetInteger140(LONG value) override;
    HRESULT STDMETHODCALLTYPE SetDimensions(VARIANT* sizes) override;
    HRESULT STDMETHODCALLTYPE ScaleValue(DOUBLE value, DOUBLE* scaled) override;
    HRESULT STDMETHODCALLTYPE GetIndexPath(VARIANT* path) override;
    HRESULT STDMETHODCALLTYPE AddTimedBinarySample(DOUBLE time, VARIANT* bytes) override;
    HRESULT STDMETHODCALLTYPE GetInteger174(LONG* value) override;
    HRESULT STDMETHODCALLTYPE SetInteger175(LONG value) override;
    HRESULT STDMETHODCALLTYPE GetSampleBuffer(BYTE** base) override;
    HRESULT STDMETHODCALLTYPE GetTimeBuffer(DOUBLE** base) override;
    HRESULT STDMETHODCALLTYPE GetProperties(HostPropertyCollection** properties) override;
    HRESULT STDMETHODCALLTYPE GetText199(BSTR* text) override;
    HRESULT STDMETHODCALLTYPE GetText201(BSTR* text) override;

    // HostChannelControl
    HRESULT STDMETHODCALLTYPE Activate(VARIANT_BOOL active) override;
    HRESULT STDMETHODCALLTYPE SetControlText(BSTR text) override;
    HRESULT STDMETHODCALLTYPE MarkRetained() override;

    // The settings the channel keeps in a setup document, in a child
    // "OutputChannel" of `element`.
    void saveSettings(XmlDocumentObject& document, XmlElementObject& element) const;
    void loadSettings(const XmlDocumentObject& document, const XmlElementObject& element);

private:
    std::size_t sampleStride() const noexcept;
    void makeBuffers();

    ChannelSettings settings_;
    LONG arraySize_ = 1;
    ChannelRing ring_;
    std::vector<BinarySample> binarySamples_;
    ComPtr<EntryListObject> entries_;
    ComPtr<ArrayDescriptionObject> array_;
    ComPtr<PropertyCollectionObject> properties_;
};

}  // namespace vexa::host
