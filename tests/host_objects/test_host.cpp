#include "test_host.h"

#include "host/objects/host_text.h"

namespace vexa::host {

HRESULT TestHostApp::GetData(HostData** out) {
    if (out == nullptr) return E_POINTER;
    *out = ComPtr<HostData>(data.get()).detach();
    return S_OK;
}

HRESULT TestHostApp::ReportError(BSTR text) {
    return guarded([&] { reportedErrors.push_back(utf8Of(text)); });
}

TestHost::TestHost()
    : group(makeHostObject<ChannelGroupObject>()),
      data(makeHostObject<AcquisitionDataObject>(group)),
      app(makeHostObject<TestHostApp>(data)),
      pluginId(std::make_shared<const HostString>("{VEXA-TEST}")) {}

}  // namespace vexa::host
