#include "host/host_data_model_object.h"

namespace vexa::host {

namespace {
constexpr LONG channelGroupKind = 8;
}  // namespace

HostDataModelObject::HostDataModelObject()
    : group_(makeHostObject<HostChannelGroupObject>()),
      groupItem_(static_cast<HostChannelGroup*>(group_.get())) {}

HRESULT HostDataModelObject::GetItem(LONG kind, IUnknown** item) {
    if (const HRESULT failure = enter(8); failure != S_OK) return failure;
    if (item == nullptr) return E_POINTER;
    *item = nullptr;
    if (kind != channelGroupKind) return E_INVALIDARG;
    *item = groupItem_.get();
    if (*item != nullptr) (*item)->AddRef();
    return S_OK;
}

}  // namespace vexa::host
