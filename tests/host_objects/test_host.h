// A reference host for tests: the channel group, the acquisition data and
// an application object that answers what the output path asks of it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/objects/channel_group.h"
#include "platform/host_string.h"
#include "plugin/host_app.h"

namespace vexa::host {

class TestHostApp final : public HostObject<HostApp> {
public:
    explicit TestHostApp(ComPtr<AcquisitionDataObject> acquisition) : data(std::move(acquisition)) {}

    HRESULT STDMETHODCALLTYPE GetData(HostData** out) override;
    HRESULT STDMETHODCALLTYPE GetHostMode(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTimeSource(HostTimeSource**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ReportError(BSTR text) override;
    HRESULT STDMETHODCALLTYPE IsSetupMode(VARIANT_BOOL* setup) override { return answer(setup, setupMode); }
    HRESULT STDMETHODCALLTYPE GetFolder(LONG, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVersion(LONG*, LONG*, LONG*, LONG*, LONG*) override { return E_NOTIMPL; }

    ComPtr<AcquisitionDataObject> data;
    // Any value, so that tests can hand the plug-in flags other than the
    // two proper ones.
    VARIANT_BOOL setupMode = VARIANT_FALSE;
    std::vector<std::string> reportedErrors;
};

// One host with its group, data and application, as a plug-in finds them.
struct TestHost {
    TestHost();

    ComPtr<ChannelGroupObject> group;
    ComPtr<AcquisitionDataObject> data;
    ComPtr<TestHostApp> app;
    std::shared_ptr<const HostString> pluginId;
};

}  // namespace vexa::host
