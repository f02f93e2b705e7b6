#include "host/plugin_driver.h"

#include "platform/com_error.h"

namespace vexa::host {

namespace {

void putElement(SafeArray& array, LONG index, Variant value) {
    const HRESULT result = SafeArrayPutElement(array.get(), &index, value.get());
    if (FAILED(result)) throwComError(result);
}

}  // namespace

PluginDriver::PluginDriver(const ComPtr<IUnknown>& plugin)
    : plugin_(plugin.query<IPlugin3>()), events_(plugin.query<IPlugin4>()) {}

HRESULT PluginDriver::initialize(HostApp* app) const { return plugin_->Initialize(app); }
HRESULT PluginDriver::prepareAcquisition() const { return plugin_->PrepareAcquisition(); }
HRESULT PluginDriver::startAcquisition() const { return plugin_->StartAcquisition3(); }
HRESULT PluginDriver::readData() const { return plugin_->ReadData3(); }
HRESULT PluginDriver::stopAcquisition() const { return plugin_->StopAcquisition3(); }
HRESULT PluginDriver::newSetup() const { return plugin_->NewSetup(); }
HRESULT PluginDriver::detachOutputChannels() const { return plugin_->DetachOutputChannels(); }

HRESULT PluginDriver::event(HostEventId id, VARIANT& argument, VARIANT& result) const {
    return events_->ProcessEvent(id, &argument, &result);
}

HRESULT PluginDriver::event(HostEventId id, Variant& result) const {
    Variant argument;
    return event(id, *argument.get(), *result.put());
}

Variant PluginDriver::documentArgument(HostEventId id, HostXmlDocument* document, HostXmlElement* element,
                                       bool saving) {
    const ULONG count = id == HostEvent::SetupDocument ? 4 : 3;
    SafeArray array(VT_VARIANT, 0, count);
    putElement(array, 0, Variant::ofDispatch(document));
    putElement(array, 1, Variant::ofDispatch(element));
    putElement(array, 2, Variant::ofBool(saving));
    if (count == 4) putElement(array, 3, Variant::ofInt32(0));
    return Variant::ofArray(std::move(array));
}

HRESULT PluginDriver::documentEvent(HostEventId id, HostXmlDocument* document, HostXmlElement* element,
                                    bool saving, Variant& result) const {
    Variant argument = documentArgument(id, document, element, saving);
    return event(id, *argument.get(), *result.put());
}

HRESULT PluginDriver::windowEvent(HostEventId id, IUnknown* hostWindow) const {
    Variant argument = Variant::ofUnknown(hostWindow);
    Variant result;
    return event(id, *argument.get(), *result.get());
}

}  // namespace vexa::host
