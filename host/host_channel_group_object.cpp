#include "host/host_channel_group_object.h"

namespace vexa::host {

HRESULT HostChannelGroupObject::RemoveChannel(HostChannel*) {
    if (const HRESULT failure = enter(16); failure != S_OK) return failure;
    return E_NOTIMPL;
}

HRESULT HostChannelGroupObject::CreateChannels(BSTR, LONG, VARIANT*, HostChannel** channel) {
    if (const HRESULT failure = enter(18); failure != S_OK) return failure;
    if (channel != nullptr) *channel = nullptr;
    return E_NOTIMPL;
}

HRESULT HostChannelGroupObject::GroupChannels(BSTR, LONG, VARIANT*, BSTR) {
    if (const HRESULT failure = enter(21); failure != S_OK) return failure;
    return E_NOTIMPL;
}

}  // namespace vexa::host
