// A reference host for tests: the channel group, the acquisition data and
// the application object, wired the way a plug-in finds them.
#pragma once

#include <memory>

#include "host/objects/channel_group.h"
#include "host/objects/host_app_object.h"
#include "platform/bstr.h"

namespace vexa::host {

struct TestHost {
    TestHost();

    ComPtr<ChannelGroupObject> group;
    ComPtr<AcquisitionDataObject> data;
    ComPtr<HostAppObject> app;
    std::shared_ptr<const Bstr> pluginId;
};

}  // namespace vexa::host
