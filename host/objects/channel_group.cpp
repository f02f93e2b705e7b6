#include "host/objects/channel_group.h"

#include <algorithm>

#include "host/objects/host_text.h"
#include "platform/variant.h"

namespace vexa::host {

namespace {

// The 4-byte integers of an array VARIANT.
std::vector<std::int32_t> integersIn(const VARIANT* value) {
    if (value == nullptr) throwComError(E_POINTER);
    if (value->vt != (VT_ARRAY | VT_I4)) throwComError(E_INVALIDARG);
    return int32ArrayOf(*value);
}

// Exactly `count` of them.
std::vector<std::int32_t> integersIn(const VARIANT* value, LONG count) {
    std::vector<std::int32_t> values = integersIn(value);
    if (count < 0 || static_cast<std::size_t>(count) != values.size()) throwComError(E_INVALIDARG);
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
    if (findById(id) != nullptr) throwComError(E_INVALIDARG, interfaceId<HostChannelGroup>());
    ChannelPtr channel = makeHostObject<ChannelObject>(bufferLength_);
    channel->setHoldSeconds(holdSeconds_);
    channel->settings().id = id;
    channel->settings().indexPath = {groupIndex_, nextSerial_++};
    for (const auto& fail : newChannelFaults_) fail(*channel);
    channels_.push_back(channel);
    return channel;
}

// The group learns its plug-in from the first call.
void ChannelGroupObject::checkPlugin(BSTR pluginId) {
    const std::string id = utf8Of(pluginId);
    if (id.empty()) throwComError(E_INVALIDARG);
    if (pluginId_.empty()) pluginId_ = id;
    else if (id != pluginId_) throwComError(E_INVALIDARG);
}

HRESULT ChannelGroupObject::RemoveChannel(HostChannel* channel) {
    return call(16, [&] {
        if (channel == nullptr) return E_POINTER;
        const auto found = std::find_if(channels_.begin(), channels_.end(), [&](const ChannelPtr& c) {
            return static_cast<HostChannel*>(c.get()) == channel;
        });
        if (found == channels_.end()) return E_INVALIDARG;
        const ChannelPtr removed = *found;
        channels_.erase(found);
        removed->markRemoved();
        ++removals_;
        return S_OK;
    });
}

HRESULT ChannelGroupObject::CreateChannels(BSTR pluginId, LONG count, VARIANT* ids, HostChannel** channel) {
    return call(18, [&] {
        if (channel == nullptr) return E_POINTER;
        *channel = nullptr;
        checkPlugin(pluginId);
        const std::vector<std::int32_t> identifiers = integersIn(ids, count);
        if (identifiers.empty()) return E_INVALIDARG;
        for (auto id = identifiers.begin(); id != identifiers.end(); ++id) {
            if (findById(*id) != nullptr || std::find(identifiers.begin(), id, *id) != id) return E_INVALIDARG;
        }
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
    return call(21, [&] {
        checkPlugin(pluginId);
        std::vector<std::int32_t> grouped = integersIn(keys, count);
        for (const std::int32_t key : grouped)
            if (findById(key) == nullptr) return E_INVALIDARG;
        groupings_.push_back({pluginId_, std::move(grouped), utf8Of(text)});
        return S_OK;
    });
}

DataModelObject::DataModelObject(ComPtr<ChannelGroupObject> group)
    : group_(std::move(group)), item_(static_cast<HostChannelGroup*>(group_.get())) {}

HRESULT DataModelObject::GetItem(LONG kind, IUnknown** item) {
    return call(8, [&] {
        if (item == nullptr) return E_POINTER;
        *item = nullptr;
        if (kind != channelGroupItem) return E_INVALIDARG;
        return writeOutObject(item, item_);
    });
}

AcquisitionDataObject::AcquisitionDataObject(ComPtr<ChannelGroupObject> group)
    : group_(std::move(group)),
      modelObject_(makeHostObject<DataModelObject>(group_)),
      model_(static_cast<HostDataModel*>(modelObject_.get())) {}

HRESULT AcquisitionDataObject::GetModel(HostDataModel** model) {
    return call(7, [&] { return writeOutObject(model, model_); });
}

HRESULT AcquisitionDataObject::GetBlockCount(LONG* count) {
    return call(10, [&] { return writeOut(count, blockCount); });
}

HRESULT AcquisitionDataObject::GetBlockGeometry(LONGLONG* size, LONGLONG* blockOffset) {
    return call(11, [&] {
        if (size == nullptr || blockOffset == nullptr) return E_POINTER;
        *size = blockSize;
        *blockOffset = offset;
        return S_OK;
    });
}

HRESULT AcquisitionDataObject::RefreshPluginChannels() {
    return call(34, [&] { ++refreshCount; });
}

HRESULT AcquisitionDataObject::GetSampleRate(DOUBLE* rate) {
    return call(44, [&] { return writeOut(rate, sampleRate); });
}

HRESULT AcquisitionDataObject::FindChannel(VARIANT* indexPath, HostChannel** channel) {
    return call(56, [&] {
        if (channel == nullptr) return E_POINTER;
        *channel = nullptr;
        ChannelObject* found = group_->findByIndexPath(integersIn(indexPath));
        if (found != nullptr) *channel = ComPtr<HostChannel>(found).release();
        return S_OK;
    });
}

HRESULT AcquisitionDataObject::GetRetainChannels(VARIANT_BOOL* retain) {
    return call(58, [&] { return writeOut(retain, retainChannels.answer()); });
}

}  // namespace vexa::host
