// The channel's host properties, entry list, automatic values, arrays and
// samples. Attachment and the setup are in output_channel_setup.cpp.
#include "output/output_channel_impl.h"

#include <limits>
#include <stdexcept>

#include "output/axis_properties.h"
#include "platform/variant.h"
#include "contract/host_data.h"
#include "platform/com_call.h"
#include "serialization/node_values.h"

namespace Nerova::Utils::Ncom::OutputChannel {

using vexa::callGet;
using vexa::callGetText;
using vexa::callSet;
using vexa::callSetText;

namespace {

bool isTrue(VARIANT_BOOL flag) noexcept { return flag == VARIANT_TRUE; }

[[noreturn]] void outOfBounds() { throw std::out_of_range("Index out of bounds"); }

void applyEntry(HostEntry* entry, const EntryDescription& description) {
    callSet(entry, &HostEntry::SetId, static_cast<LONG>(description.id));
    callSetText(entry, &HostEntry::SetName, description.name);
    callSet(entry, &HostEntry::SetValue, static_cast<LONG>(description.value));
}

EntryDescription describeEntry(HostEntry* entry) {
    return {static_cast<std::uint32_t>(callGet(entry, &HostEntry::GetId)), callGetText(entry, &HostEntry::GetName),
            static_cast<std::uint32_t>(callGet(entry, &HostEntry::GetValue))};
}

LONGLONG axisSize(const Utils::AxisProperties& axis) {
    const std::uint64_t size = axis.size();
    if (size > static_cast<std::uint64_t>(std::numeric_limits<LONGLONG>::max()))
        vexa::throwComError(E_INVALIDARG, vexa::interfaceId<HostArrayDescription>());
    return static_cast<LONGLONG>(size);
}

}  // namespace

HostChannel* OutputChannelImpl::host() const { return vexa::required(hostChannel_); }

std::string OutputChannelImpl::getIndexPath() const {
    HostChannel* channel = host();
    vexa::Variant path;
    vexa::checkCall(channel->GetIndexPath(path.put()), channel);
    if (path.type() == VT_EMPTY) return {};
    if (path.type() != (VT_ARRAY | VT_I4)) vexa::throwComError(DISP_E_TYPEMISMATCH, vexa::interfaceId<HostChannel>());
    return Serialization::listToText(vexa::int32ArrayOf(*path.get()));
}

OutputChannelType OutputChannelImpl::getType() const {
    HostChannel* channel = host();
    OutputChannelType type;
    type.dataType = static_cast<std::uint32_t>(callGet(channel, &HostChannel::GetDataType));
    OutputChannelKind kind = OutputChannelKind::Synchronous;
    if (isTrue(callGet(channel, &HostChannel::GetSingleValueFlag))) kind = OutputChannelKind::SingleValue;
    else if (isTrue(callGet(channel, &HostChannel::GetAsynchronousFlag))) kind = OutputChannelKind::Asynchronous;
    type.kind = static_cast<std::uint32_t>(kind);
    return type;
}

void OutputChannelImpl::setHostName(const std::string& name) { callSetText(host(), &HostChannel::SetName, name); }
std::string OutputChannelImpl::getHostName() const { return callGetText(host(), &HostChannel::GetName); }
void OutputChannelImpl::setText41(const std::string& text) { callSetText(host(), &HostChannel::SetText41, text); }
std::string OutputChannelImpl::getText40() const { return callGetText(host(), &HostChannel::GetText40); }

void OutputChannelImpl::setControlText(const std::string& text) {
    host();
    callSetText(hostChannel_.query<HostChannelControl>().get(), &HostChannelControl::SetControlText, text);
}

std::string OutputChannelImpl::getText199() const { return callGetText(host(), &HostChannel::GetText199); }
std::string OutputChannelImpl::getText201() const { return callGetText(host(), &HostChannel::GetText201); }
void OutputChannelImpl::setHostUnit(const std::string& unit) { callSetText(host(), &HostChannel::SetUnit, unit); }
std::string OutputChannelImpl::getHostUnit() const { return callGetText(host(), &HostChannel::GetUnit); }
void OutputChannelImpl::setUsed(bool used) { callSet(host(), &HostChannel::SetUsed, vexa::toVariantBool(used)); }
// Asked for every acquired value: one check that the channel is there.
bool OutputChannelImpl::isUsed() const {
    HostChannel* channel = host();
    VARIANT_BOOL used = VARIANT_FALSE;
    vexa::checkCall(channel->GetUsed(&used), channel);
    return used != VARIANT_FALSE;
}
void OutputChannelImpl::setFlag25(bool flag) { callSet(host(), &HostChannel::SetBool25, vexa::toVariantBool(flag)); }
bool OutputChannelImpl::getFlag24() const { return callGet(host(), &HostChannel::GetBool24) != VARIANT_FALSE; }
void OutputChannelImpl::setStored(bool stored) {
    callSet(host(), &HostChannel::SetStored, vexa::toVariantBool(stored));
}
bool OutputChannelImpl::isStored() const { return callGet(host(), &HostChannel::GetStored) != VARIANT_FALSE; }
void OutputChannelImpl::setHostColor(std::uint32_t rgb) { callSet(host(), &HostChannel::SetColor, rgb); }
std::uint32_t OutputChannelImpl::getHostColor() const {
    return static_cast<std::uint32_t>(callGet(host(), &HostChannel::GetColor));
}
void OutputChannelImpl::setDouble68(double value) { callSet(host(), &HostChannel::SetDouble68, value); }
double OutputChannelImpl::getDouble67() const { return callGet(host(), &HostChannel::GetDouble67); }
void OutputChannelImpl::setDouble70(double value) { callSet(host(), &HostChannel::SetDouble70, value); }
double OutputChannelImpl::getDouble69() const { return callGet(host(), &HostChannel::GetDouble69); }
void OutputChannelImpl::setFloat64(float value) { callSet(host(), &HostChannel::SetFloat64, value); }
float OutputChannelImpl::getFloat63() const { return callGet(host(), &HostChannel::GetFloat63); }
void OutputChannelImpl::setFloat66(float value) { callSet(host(), &HostChannel::SetFloat66, value); }
float OutputChannelImpl::getFloat65() const { return callGet(host(), &HostChannel::GetFloat65); }
void OutputChannelImpl::setInteger73(std::int32_t value) { callSet(host(), &HostChannel::SetInteger73, value); }
std::int32_t OutputChannelImpl::getInteger38() const { return callGet(host(), &HostChannel::GetInteger38); }
std::int32_t OutputChannelImpl::valuesPerSample() const { return callGet(host(), &HostChannel::GetValuesPerSample); }
void OutputChannelImpl::setOutputParameter(std::int32_t value) {
    callSet(host(), &HostChannel::SetOutputParameter, value);
}
std::int32_t OutputChannelImpl::getOutputParameter() const {
    return callGet(host(), &HostChannel::GetOutputParameter);
}
void OutputChannelImpl::setInteger76(std::int32_t value) { callSet(host(), &HostChannel::SetInteger76, value); }
std::int32_t OutputChannelImpl::getInteger75() const { return callGet(host(), &HostChannel::GetInteger75); }

// ---- entry list ----

vexa::ComPtr<HostEntryList> OutputChannelImpl::entryList() const {
    vexa::ComPtr<HostEntryList> list = vexa::callGetObject(host(), &HostChannel::GetEntryList);
    vexa::required(list);
    return list;
}

vexa::ComPtr<HostEntry> OutputChannelImpl::entryAt(std::uint32_t index) const {
    if (index >= entryCount()) outOfBounds();
    vexa::ComPtr<HostEntryList> list = entryList();
    vexa::ComPtr<HostEntry> entry;
    vexa::checkCall(list->GetAt(static_cast<LONG>(index), entry.put()), list.get());
    return entry;
}

LONG OutputChannelImpl::findEntry(std::uint32_t id) const {
    vexa::ComPtr<HostEntryList> list = entryList();
    const LONG count = callGet(list.get(), &HostEntryList::GetCount);
    for (LONG i = 0; i < count; ++i) {
        vexa::ComPtr<HostEntry> entry;
        vexa::checkCall(list->GetAt(i, entry.put()), list.get());
        if (static_cast<std::uint32_t>(callGet(entry.get(), &HostEntry::GetId)) == id) return i;
    }
    return -1;
}

void OutputChannelImpl::addEntry(const EntryDescription& entry) {
    vexa::ComPtr<HostEntryList> list = entryList();
    vexa::ComPtr<HostEntry> created;
    vexa::checkCall(list->Append(created.put()), list.get());
    applyEntry(created.get(), entry);
}

void OutputChannelImpl::addOrUpdateEntry(const EntryDescription& entry) {
    const LONG index = findEntry(entry.id);
    if (index < 0) addEntry(entry);
    else applyEntry(entryAt(static_cast<std::uint32_t>(index)).get(), entry);
}

EntryLookup OutputChannelImpl::getEntryById(std::uint32_t id) const {
    const LONG index = findEntry(id);
    if (index < 0) return {};
    const EntryDescription found = describeEntry(entryAt(static_cast<std::uint32_t>(index)).get());
    return {true, found.name, found.value};
}

void OutputChannelImpl::removeEntryById(std::uint32_t id) {
    const LONG index = findEntry(id);
    if (index >= 0) removeEntry(static_cast<std::uint32_t>(index));
}

void OutputChannelImpl::removeEntry(std::uint32_t index) {
    if (index >= entryCount()) outOfBounds();
    vexa::ComPtr<HostEntryList> list = entryList();
    callSet(list.get(), &HostEntryList::RemoveAt, static_cast<LONG>(index));
}

void OutputChannelImpl::setEntry(std::uint32_t index, const EntryDescription& entry) {
    applyEntry(entryAt(index).get(), entry);
}

void OutputChannelImpl::setEntries(const std::vector<EntryDescription>& entries) {
    clearEntries();
    for (const EntryDescription& entry : entries) addEntry(entry);
}

std::vector<EntryDescription> OutputChannelImpl::getEntries() const {
    std::vector<EntryDescription> entries;
    const std::uint32_t count = entryCount();
    for (std::uint32_t i = 0; i < count; ++i) entries.push_back(describeEntry(entryAt(i).get()));
    return entries;
}

void OutputChannelImpl::clearEntries() {
    vexa::ComPtr<HostEntryList> list = entryList();
    for (LONG i = callGet(list.get(), &HostEntryList::GetCount) - 1; i >= 0; --i)
        callSet(list.get(), &HostEntryList::RemoveAt, i);
}

std::uint32_t OutputChannelImpl::entryCount() const {
    const LONG count = callGet(entryList().get(), &HostEntryList::GetCount);
    return count > 0 ? static_cast<std::uint32_t>(count) : 0;
}

// ---- automatic name, unit and colour ----

void OutputChannelImpl::setName(const std::string& name) {
    if (isAutomaticName()) setHostName(name);
    automaticName_ = name;
}

bool OutputChannelImpl::isAutomaticName() const { return getHostName() == automaticName_; }

void OutputChannelImpl::setUnit(const std::string& unit) {
    if (isAutomaticUnit()) setHostUnit(unit);
    automaticUnit_ = unit;
}

bool OutputChannelImpl::isAutomaticUnit() const { return getHostUnit() == automaticUnit_; }

void OutputChannelImpl::setColor(std::uint32_t rgb) {
    if (isAutomaticColor()) setHostColor(rgb);
    automaticColor_ = rgb;
}

bool OutputChannelImpl::isAutomaticColor() const { return getHostColor() == automaticColor_; }

// ---- arrays ----

void OutputChannelImpl::setArrayDimensions(const std::vector<std::int32_t>& dimensions) {
    HostChannel* channel = host();
    callSet(channel, &HostChannel::SetInteger140, 2);
    callSet(channel, &HostChannel::SetInteger138, static_cast<LONG>(dimensions.size() + 2));
    vexa::Variant sizes = vexa::Variant::ofInt32Array(dimensions);
    vexa::checkCall(channel->SetDimensions(sizes.get()), channel);
}

void OutputChannelImpl::setFloat132(float value) { callSet(host(), &HostChannel::SetFloat132, value); }
float OutputChannelImpl::getFloat131() const { return callGet(host(), &HostChannel::GetFloat131); }
void OutputChannelImpl::setInteger175(std::int32_t value) { callSet(host(), &HostChannel::SetInteger175, value); }
std::int32_t OutputChannelImpl::getInteger174() const { return callGet(host(), &HostChannel::GetInteger174); }

void OutputChannelImpl::defineArrayAxis(const Utils::AxisProperties& axis) { defineArrayAxis(axis, false); }

void OutputChannelImpl::defineArrayAxis(const Utils::AxisProperties& axis, bool flag) {
    defineAxes({&axis}, flag);
}

void OutputChannelImpl::defineArrayAxes(const Utils::AxisProperties& first, const Utils::AxisProperties& second) {
    defineArrayAxes(first, second, false);
}

void OutputChannelImpl::defineArrayAxes(const Utils::AxisProperties& first, const Utils::AxisProperties& second,
                                        bool flag) {
    defineAxes({&first, &second}, flag);
}

void OutputChannelImpl::defineAxes(std::initializer_list<const Utils::AxisProperties*> axes, bool flag) {
    HostChannel* channel = host();
    callSet(channel, &HostChannel::SetCarriesArrays, VARIANT_TRUE);
    vexa::ComPtr<HostArrayDescription> description = getArrayDescription();
    HostArrayDescription* array = vexa::required(description);
    callSet(array, &HostArrayDescription::SetFlag, vexa::toVariantBool(flag));
    callSet(array, &HostArrayDescription::SetAxisCount, static_cast<LONG>(axes.size()));
    LONG index = 0;
    for (const Utils::AxisProperties* axis : axes)
        vexa::checkCall(array->SetAxisSize(index++, axisSize(*axis)), array);
    vexa::checkCall(array->Commit(), array);
    index = 0;
    for (const Utils::AxisProperties* axis : axes) {
        vexa::ComPtr<HostAxis> hostAxis;
        vexa::checkCall(array->GetAxis(index++, hostAxis.put()), array);
        Utils::applyAxis(hostAxis.get(), *axis);
    }
}

bool OutputChannelImpl::getFlag125() const { return callGet(host(), &HostChannel::GetBool125) != VARIANT_FALSE; }
std::int32_t OutputChannelImpl::arraySize() const { return callGet(host(), &HostChannel::GetArraySize); }

vexa::ComPtr<HostArrayDescription> OutputChannelImpl::getArrayDescription() const {
    return vexa::callGetObject(host(), &HostChannel::GetArrayDescription);
}

bool OutputChannelImpl::getArrayFlag() const { return getFlag125(); }

std::vector<vexa::ComPtr<HostAxis>> OutputChannelImpl::getArrayAxes() const {
    vexa::ComPtr<HostArrayDescription> description = getArrayDescription();
    HostArrayDescription* array = vexa::required(description);
    std::vector<vexa::ComPtr<HostAxis>> axes;
    const LONG count = callGet(array, &HostArrayDescription::GetAxisCount);
    for (LONG i = 0; i < count; ++i) {
        vexa::ComPtr<HostAxis> axis;
        vexa::checkCall(array->GetAxis(i, axis.put()), array);
        axes.push_back(std::move(axis));
    }
    return axes;
}

// ---- samples ----

IAddData& OutputChannelImpl::strategy() const {
    if (!addData_) vexa::throwComError(E_POINTER, vexa::interfaceId<HostChannel>());
    return *addData_;
}

double OutputChannelImpl::lastValue() const { return strategy().lastValue(); }
void OutputChannelImpl::setValue(const void* data, std::size_t size) { strategy().setValue(data, size); }
void OutputChannelImpl::setArrayValue(const void* data, std::size_t size) { strategy().setArrayValue(data, size); }
void OutputChannelImpl::addSample(const void* data, std::size_t size) { strategy().addSample(data, size); }
void OutputChannelImpl::addTimedArraySample(const void* data, std::size_t size, double time) {
    strategy().addTimedArraySample(data, size, time);
}
void OutputChannelImpl::addTimedSample(const void* data, std::size_t size, double time) {
    strategy().addTimedSample(data, size, time);
}
void OutputChannelImpl::addTimedBinarySample(const void* data, std::size_t size, double time) {
    strategy().addTimedBinarySample(data, size, time);
}

double OutputChannelImpl::samplesToSeconds(std::uint64_t count) const {
    vexa::ComPtr<HostData> data = vexa::callGetObject(app_.get(), &HostApp::GetData);
    return static_cast<double>(count) / callGet(data.get(), &HostData::GetSampleRate);
}

}  // namespace Nerova::Utils::Ncom::OutputChannel
