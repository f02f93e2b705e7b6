#include "host/objects/channel_group.h"

#include <algorithm>

#include "host/objects/host_text.h"
#include "platform/variant.h"

namespace vexa::host {

namespace {

// The 4-byte integers of an array VARIANT.
std::vector<std::int32_t> integersIn(const VARIANT* value) {
    if (value == nullptr) throwComError(E_POINTER);
    return int32ArrayOf(*value);
}

// The first `count` of them; the array must hold that many.
std::vector<std::int32_t> integersIn(const VARIANT* value, LONG count) {
    std::vector<std::int32_t> values = integersIn(value);
    if (count < 0 || static_cast<std::size_t>(count) > values.size()) throwComError(E_INVALIDARG);
    values.resize(static_cast<std::size_t>(count));
    return values;
}

// The model's item that leads to the plug-in's channel group.
constexpr LONG channelGroupItem = 8;

}  // namespace

ChannelObject* ChannelGroupObject::findById(LONG id) const noexcept {
    for (const ChannelPtr& channel : channels_)
        if (channel->settings().id == id) return channel.get();
    return nullptr;
}

ChannelObject* ChannelGroupObject::findByIndexPath(const std::vector<std::int32_t>& path) const noexcept {
    for (const ChannelPtr& channel : channels_)
        if (channel->settings().indexPath == path) return channel.get();
    return nullptr;
}

ChannelPtr ChannelGroupObject::addChannel(LONG id) {
    ChannelPtr channel = makeHostObject<ChannelObject>(bufferLength_);
    channel->setHoldSeconds(holdSeconds_);
    channel->settings().id = id;
    channel->settings().indexPath = {groupIndex_, nextSerial_++};
    channels_.push_back(channel);
    return channel;
}

HRESULT ChannelGroupObject::RemoveChannel(HostChannel* channel) {
    const auto found = std::find_if(channels_.begin(), channels_.end(), [&](const ChannelPtr& c) {
        return static_cast<HostChannel*>(c.get()) == channel;
    });
    if (found == channels_.end()) return E_INVALIDARG;
    channels_.erase(found);
    ++removals_;
    return S_OK;
}

HRESULT ChannelGroupObject::CreateChannels(BSTR pluginId, LONG count, VARIANT* ids, HostChannel** channel) {
    return guarded([&] {
        if (channel == nullptr) return E_POINTER;
        *channel = nullptr;
        const std::vector<std::int32_t> identifiers = integersIn(ids, count);
        if (identifiers.empty()) return E_INVALIDARG;
        pluginId_ = utf8Of(pluginId);
        ChannelPtr first;
        for (const std::int32_t id : identifiers) {
            ChannelPtr created = addChannel(id);
            if (!first) first = created;
        }
        *channel = ComPtr<HostChannel>(first.get()).release();
        return S_OK;
    });
}

HRESULT ChannelGroupObject::GroupChannels(BSTR pluginId, LONG count, VARIANT* keys, BSTR text) {
    return guarded([&] { groupings_.push_back({utf8Of(pluginId), integersIn(keys, count), utf8Of(text)}); });
}

DataModelObject::DataModelObject(ComPtr<ChannelGroupObject> group)
    : group_(std::move(group)), item_(static_cast<HostChannelGroup*>(group_.get())) {}

HRESULT DataModelObject::GetItem(LONG kind, IUnknown** item) {
    if (const HRESULT failure = enter(8); failure != S_OK) return failure;
    if (item == nullptr) return E_POINTER;
    *item = nullptr;
    if (kind != channelGroupItem) return E_INVALIDARG;
    return writeOutObject(item, item_);
}

AcquisitionDataObject::AcquisitionDataObject(ComPtr<ChannelGroupObject> group)
    : group_(std::move(group)),
      modelObject_(makeHostObject<DataModelObject>(group_)),
      model_(static_cast<HostDataModel*>(modelObject_.get())) {}

HRESULT AcquisitionDataObject::GetModel(HostDataModel** model) {
    if (const HRESULT failure = enter(7); failure != S_OK) return failure;
    return writeOutObject(model, model_);
}

HRESULT AcquisitionDataObject::GetBlockCount(LONG* count) { return writeOut(count, blockCount); }

HRESULT AcquisitionDataObject::GetBlockGeometry(LONGLONG* size, LONGLONG* blockOffset) {
    if (size == nullptr || blockOffset == nullptr) return E_POINTER;
    *size = blockSize;
    *blockOffset = offset;
    return S_OK;
}

HRESULT AcquisitionDataObject::RefreshPluginChannels() {
    ++refreshCount;
    return S_OK;
}

HRESULT AcquisitionDataObject::GetSampleRate(DOUBLE* rate) { return writeOut(rate, sampleRate); }

HRESULT AcquisitionDataObject::FindChannel(VARIANT* indexPath, HostChannel** channel) {
    return guarded([&] {
        if (channel == nullptr) return E_POINTER;
        *channel = nullptr;
        ChannelObject* found = group_->findByIndexPath(integersIn(indexPath));
        if (found != nullptr) *channel = ComPtr<HostChannel>(found).release();
        return S_OK;
    });
}

HRESULT AcquisitionDataObject::GetRetainChannels(VARIANT_BOOL* retain) {
    return writeOut(retain, retainChannels ? VARIANT_TRUE : VARIANT_FALSE);
}

}  // namespace vexa::host
