// The inner object of the host's data model that leads to the plug-in's
// channel group.
#pragma once

#include "host/host_channel_group_object.h"
#include "host/host_object.h"
#include "plugin/host_data.h"

namespace vexa::host {

class HostDataModelObject final : public HostObject<HostDataModel> {
public:
    // The item of kind 8 is a fresh channel group.
    HostDataModelObject();

    // What kind 8 hands out; null or an object without a channel group
    // make the chain fail.
    void setGroupItem(ComPtr<IUnknown> item) { groupItem_ = std::move(item); }
    const ComPtr<HostChannelGroupObject>& channelGroup() const noexcept { return group_; }

    HRESULT STDMETHODCALLTYPE GetItem(LONG kind, IUnknown** item) override;

private:
    ComPtr<HostChannelGroupObject> group_;
    ComPtr<IUnknown> groupItem_;
};

}  // namespace vexa::host
