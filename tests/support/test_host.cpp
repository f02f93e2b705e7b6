#include "support/test_host.h"

namespace vexa::host {

TestHost::TestHost()
    : group(makeHostObject<ChannelGroupObject>()),
      data(makeHostObject<AcquisitionDataObject>(group)),
      app(makeHostObject<HostAppObject>()),
      pluginId(std::make_shared<const Bstr>("{VEXA-TEST}")) {
    app->setData(ComPtr<HostData>(data.get()));
    app->setEchoReports(false);
}

}  // namespace vexa::host
