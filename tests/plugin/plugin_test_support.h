// What the module tests share: the loaded plug-in module, a fixture with a
// host application and a fresh plug-in, and small host fakes.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/host_app_object.h"
#include "host/host_object.h"
#include "host/plugin_driver.h"
#include "host/plugin_module.h"
#include "plugin/host_xml.h"

namespace plugin_test {

using vexa::ComPtr;
using vexa::Variant;
using vexa::host::HostAppObject;
using vexa::host::makeHostObject;
using vexa::host::PluginDriver;
using vexa::host::PluginModule;

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

// A document that only knows its mode; the plug-in needs nothing more yet.
class FakeXmlDocument final : public vexa::host::HostObject<HostXmlDocument> {
public:
    std::vector<LONG> modesSet;

    HRESULT STDMETHODCALLTYPE GetMode(LONG* mode) override {
        *mode = modesSet.empty() ? 0 : modesSet.back();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetMode(LONG mode) override {
        modesSet.push_back(mode);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetRootElement(HostXmlElement**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateElement(BSTR, BSTR, HostXmlElement**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE WriteValue(HostXmlElement*, BSTR, BSTR, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ReadValue(HostXmlElement*, BSTR, BSTR*, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetElementName(HostXmlElement*, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetElementText(HostXmlElement*, BSTR*) override { return E_NOTIMPL; }
};

// An element the plug-in only holds on to.
class FakeXmlElement final : public vexa::host::HostObject<HostXmlElement> {
public:
    HRESULT STDMETHODCALLTYPE SetText(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AppendChild(HostXmlElement*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemoveChild(HostXmlElement*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ClearChildren() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindChild(BSTR, HostXmlElement**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetChild(LONG, HostXmlElement**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetChildCount(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetParent(HostXmlElement**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRelated(HostXmlElement**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddAttribute(HostXmlElement*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemoveAttribute(HostXmlElement*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindAttribute(BSTR, HostXmlElement**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAttribute(LONG, HostXmlElement**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAttributeCount(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ClearAttributes() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetName(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetText(BSTR*) override { return E_NOTIMPL; }
};

}  // namespace plugin_test
