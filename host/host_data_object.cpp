#include "host/host_data_object.h"

namespace vexa::host {

namespace {
// The sample rate the host reports while it has no acquisition of its own.
constexpr DOUBLE defaultSampleRate = 1000.0;
}  // namespace

HostDataObject::HostDataObject()
    : modelObject_(makeHostObject<HostDataModelObject>()), model_(modelObject_.get()) {}

HRESULT HostDataObject::GetModel(HostDataModel** model) {
    if (const HRESULT failure = enter(7); failure != S_OK) return failure;
    if (model == nullptr) return E_POINTER;
    *model = model_.get();
    if (*model != nullptr) (*model)->AddRef();
    return S_OK;
}

HRESULT HostDataObject::GetBlockCount(LONG* count) {
    if (const HRESULT failure = enter(10); failure != S_OK) return failure;
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT HostDataObject::GetBlockGeometry(LONGLONG* blockSize, LONGLONG* offset) {
    if (const HRESULT failure = enter(11); failure != S_OK) return failure;
    if (blockSize == nullptr || offset == nullptr) return E_POINTER;
    *blockSize = 0;
    *offset = 0;
    return S_OK;
}

HRESULT HostDataObject::RefreshPluginChannels() {
    if (const HRESULT failure = enter(34); failure != S_OK) return failure;
    return S_OK;
}

HRESULT HostDataObject::GetSampleRate(DOUBLE* rate) {
    if (const HRESULT failure = enter(44); failure != S_OK) return failure;
    if (rate == nullptr) return E_POINTER;
    *rate = defaultSampleRate;
    return S_OK;
}

HRESULT HostDataObject::FindChannel(VARIANT*, HostChannel** channel) {
    if (const HRESULT failure = enter(56); failure != S_OK) return failure;
    if (channel == nullptr) return E_POINTER;
    *channel = nullptr;  // no channel is stored anywhere yet
    return S_OK;
}

HRESULT HostDataObject::GetRetainChannels(VARIANT_BOOL* retain) {
    if (const HRESULT failure = enter(58); failure != S_OK) return failure;
    if (retain == nullptr) return E_POINTER;
    *retain = retainChannels_ ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

}  // namespace vexa::host
