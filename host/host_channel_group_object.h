// The plug-in's channel group in the reference host. It holds no channels
// yet: its channel methods answer E_NOTIMPL.
#pragma once

#include "host/host_object.h"
#include "plugin/host_data.h"

namespace vexa::host {

class HostChannelGroupObject final : public HostObject<HostChannelGroup> {
public:
    HRESULT STDMETHODCALLTYPE RemoveChannel(HostChannel* channel) override;
    HRESULT STDMETHODCALLTYPE CreateChannels(BSTR pluginId, LONG count, VARIANT* ids,
                                             HostChannel** channel) override;
    HRESULT STDMETHODCALLTYPE GroupChannels(BSTR pluginId, LONG count, VARIANT* keys, BSTR text) override;
};

}  // namespace vexa::host
