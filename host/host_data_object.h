// The reference host's acquisition data object. It has no channels and no
// running acquisition yet: its acquisition values are whatever was set.
#pragma once

#include "host/host_data_model_object.h"
#include "host/host_object.h"
#include "plugin/host_data.h"

namespace vexa::host {

class HostDataObject final : public HostObject<HostData> {
public:
    HostDataObject();

    void setModel(ComPtr<HostDataModel> model) { model_ = std::move(model); }
    const ComPtr<HostDataModelObject>& modelObject() const noexcept { return modelObject_; }
    void setRetainChannels(bool retain) noexcept { retainChannels_ = retain; }

    HRESULT STDMETHODCALLTYPE GetModel(HostDataModel** model) override;
    HRESULT STDMETHODCALLTYPE GetBlockCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE GetBlockGeometry(LONGLONG* blockSize, LONGLONG* offset) override;
    HRESULT STDMETHODCALLTYPE RefreshPluginChannels() override;
    HRESULT STDMETHODCALLTYPE GetSampleRate(DOUBLE* rate) override;
    HRESULT STDMETHODCALLTYPE FindChannel(VARIANT* indexPath, HostChannel** channel) override;
    HRESULT STDMETHODCALLTYPE GetRetainChannels(VARIANT_BOOL* retain) override;

private:
    ComPtr<HostDataModelObject> modelObject_;
    ComPtr<HostDataModel> model_;
    bool retainChannels_ = false;
};

}  // namespace vexa::host
