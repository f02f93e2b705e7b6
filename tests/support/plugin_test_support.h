// What the module tests share: the loaded plug-in module, a fixture with a
// host application and a fresh plug-in, and small host fakes.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/objects/host_app_object.h"
#include "host/objects/host_object.h"
#include "host/plugin_driver.h"
#include "host/plugin_module.h"
#include "host/objects/xml_document.h"
#include "contract/host_xml.h"

namespace plugin_test {

using vexa::ComPtr;
using vexa::Variant;
using vexa::host::HostAppObject;
using vexa::host::makeHostObject;
using vexa::host::PluginDriver;
using vexa::host::PluginModule;
using vexa::host::XmlDocumentObject;
using vexa::host::XmlElementObject;

// Loaded once for the whole test program, from the build's bin folder.
const PluginModule& loadedModule();

class PluginTest : public ::testing::Test {
protected:
    PluginTest() { app->setEchoReports(false); }

    HRESULT initialize() { return plugin.initialize(app.get()); }

    ComPtr<HostAppObject> app = makeHostObject<HostAppObject>();
    PluginDriver plugin{loadedModule().createPlugin()};
};

// Calls the method in vtable slot `slot` of `object` the way a host that
// only knows positions does.
template <class... Args>
HRESULT callSlot(IUnknown* object, int slot, Args... args) {
    using Method = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, Args...);
    void** vtable = *reinterpret_cast<void***>(object);
    Method method;
    std::memcpy(&method, &vtable[slot], sizeof method);
    return method(object, args...);
}

}  // namespace plugin_test
