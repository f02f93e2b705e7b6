// The reference host's channel group of a plug-in and its acquisition data
// object: channels are created with the plug-in's identifiers, found by
// index path, and the acquisition's block position, sample rate and
// channel retention are the host's settings.
//
// Assumptions about the real host, where nothing we know says what it does:
// - A group is the group of one plug-in: the plug-in identifier of its first
//   call. A call with another identifier, or none, is refused (E_INVALIDARG).
// - The plug-in names its channels. An identifier that a channel of the
//   group already has is refused (E_INVALIDARG), as is a list that names one
//   twice or a count other than the list's length; nothing is created then.
//   Once its channel is removed, an identifier is free again.
// - The host says where a channel stands: its index path, the group's index
//   and a serial number. Serials are never handed out twice, not even after
//   removals, so a path kept in an old setup finds no channel rather than
//   another one.
// - Grouping channels by identifiers that name no channel of the group is
//   refused (E_INVALIDARG).
// - Looking a channel up by an index path that names none answers S_OK and
//   no channel (a channel the host no longer has is an answer, not an
//   error); a path that is no list of 4-byte integers is refused.
// - Removing a channel that is not in the group (removed already, or never
//   there) is refused (E_INVALIDARG). A removed channel answers every later
//   call with ChannelObject::removedAnswer.
// - The group never drops channels on its own, not at a setup load and not
//   when it does not retain channels: only RemoveChannel removes one. What
//   the plug-in stops using it removes itself.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/objects/host_object.h"
#include "host/objects/host_channel.h"
#include "contract/host_data.h"

namespace vexa::host {

using ChannelPtr = ComPtr<ChannelObject>;

class ChannelGroupObject final : public HostObject<HostChannelGroup> {
public:
    // `groupIndex` is the first number of every channel's index path.
    explicit ChannelGroupObject(std::int32_t groupIndex = 1) : groupIndex_(groupIndex) {}

    HRESULT STDMETHODCALLTYPE RemoveChannel(HostChannel* channel) override;
    // Makes one channel per identifier in `ids` and answers the first.
    HRESULT STDMETHODCALLTYPE CreateChannels(BSTR pluginId, LONG count, VARIANT* ids,
                                             HostChannel** channel) override;
    HRESULT STDMETHODCALLTYPE GroupChannels(BSTR pluginId, LONG count, VARIANT* keys, BSTR text) override;

    struct Grouping {
        std::string pluginId;
        std::vector<std::int32_t> keys;
        std::string text;
    };

    // The channels in creation order, removed ones no longer.
    const std::vector<ChannelPtr>& channels() const noexcept { return channels_; }
    ChannelObject* findById(LONG id) const noexcept;
    ChannelObject* findByIndexPath(const std::vector<std::int32_t>& path) const noexcept;
    // A channel as the host makes it, without a plug-in's request; throws
    // ComError(E_INVALIDARG) for an identifier the group has.
    ChannelPtr addChannel(LONG id);
    const std::vector<Grouping>& groupings() const noexcept { return groupings_; }
    // The identifier of the plug-in the group belongs to; empty until its
    // first call.
    const std::string& pluginId() const noexcept { return pluginId_; }
    int removals() const noexcept { return removals_; }
    // Buffer length, and how long unread samples may grow the buffers (see
    // ChannelRing::setHoldSeconds), of channels made from now on.
    void setBufferLength(LONG samples) noexcept { bufferLength_ = samples; }
    void setHoldSeconds(double seconds) noexcept { holdSeconds_ = seconds; }
    // Channels made from now on (only those with identifier `onlyId`, when
    // given) fail as `fault` says at host method `method` of interface I
    // (see HostObject::failMethod): for channels the plug-in has yet to make.
    template <class I = HostChannel>
    void failNewChannels(int method, HostFault fault, std::optional<LONG> onlyId = std::nullopt) {
        newChannelFaults_.push_back([method, fault, onlyId](ChannelObject& channel) {
            if (!onlyId || channel.settings().id == *onlyId) channel.failMethod<I>(method, fault);
        });
    }
    void clearNewChannelFaults() noexcept { newChannelFaults_.clear(); }

private:
    std::int32_t groupIndex_;
    std::int32_t nextSerial_ = 0;
    LONG bufferLength_ = 1024;
    double holdSeconds_ = 0.0;
    std::vector<ChannelPtr> channels_;
    std::vector<std::function<void(ChannelObject&)>> newChannelFaults_;
    std::vector<Grouping> groupings_;
    std::string pluginId_;
    int removals_ = 0;

    void checkPlugin(BSTR pluginId);
};

// The inner object of the host's data model whose item 8 is the plug-in's
// channel group.
class DataModelObject final : public HostObject<HostDataModel> {
public:
    explicit DataModelObject(ComPtr<ChannelGroupObject> group);

    // What item 8 hands out instead of the group; null, or an object
    // without a channel group, breaks the plug-in's way to its group.
    void setGroupItem(ComPtr<IUnknown> item) { item_ = std::move(item); }
    const ComPtr<ChannelGroupObject>& channelGroup() const noexcept { return group_; }

    HRESULT STDMETHODCALLTYPE GetItem(LONG kind, IUnknown** item) override;

private:
    ComPtr<ChannelGroupObject> group_;
    ComPtr<IUnknown> item_;
};

class AcquisitionDataObject final : public HostObject<HostData> {
public:
    explicit AcquisitionDataObject(ComPtr<ChannelGroupObject> group);

    // What GetModel hands out instead of the model object (null allowed).
    void setModel(ComPtr<HostDataModel> model) { model_ = std::move(model); }
    const ComPtr<DataModelObject>& modelObject() const noexcept { return modelObject_; }

    HRESULT STDMETHODCALLTYPE GetModel(HostDataModel** model) override;
    HRESULT STDMETHODCALLTYPE GetBlockCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE GetBlockGeometry(LONGLONG* blockSize, LONGLONG* offset) override;
    HRESULT STDMETHODCALLTYPE RefreshPluginChannels() override;
    HRESULT STDMETHODCALLTYPE GetSampleRate(DOUBLE* rate) override;
    HRESULT STDMETHODCALLTYPE FindChannel(VARIANT* indexPath, HostChannel** channel) override;
    HRESULT STDMETHODCALLTYPE GetRetainChannels(VARIANT_BOOL* retain) override;

    ChannelGroupObject& group() const noexcept { return *group_; }

    // The acquisition position is blockCount * blockSize + offset samples.
    LONG blockCount = 0;
    LONGLONG blockSize = 0;
    LONGLONG offset = 0;
    double sampleRate = 1000.0;
    // Host channels outlive the plug-in's bookkeeping (the host keeps them
    // across a setup load).
    HostFlag retainChannels;
    // How often the plug-in asked the host to read its channels again.
    int refreshCount = 0;

private:
    ComPtr<ChannelGroupObject> group_;
    ComPtr<DataModelObject> modelObject_;
    ComPtr<HostDataModel> model_;
};

}  // namespace vexa::host
