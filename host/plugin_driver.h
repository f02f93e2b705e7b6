// Calls the plug-in the way the host does: through its interfaces, with
// arguments shaped as the host shapes them.
#pragma once

#include "platform/com_ptr.h"
#include "platform/variant.h"
#include "contract/host_app.h"
#include "contract/host_xml.h"
#include "contract/plugin_interfaces.h"

namespace vexa::host {

class PluginDriver {
public:
    // Throws ComError when the object lacks one of the plug-in interfaces.
    explicit PluginDriver(const ComPtr<IUnknown>& plugin);

    HRESULT initialize(HostApp* app) const;
    HRESULT prepareAcquisition() const;
    HRESULT startAcquisition() const;
    HRESULT readData() const;
    HRESULT stopAcquisition() const;
    HRESULT newSetup() const;
    HRESULT detachOutputChannels() const;

    // One numbered event with the argument and result as given.
    HRESULT event(HostEventId id, VARIANT& argument, VARIANT& result) const;
    // A numbered event with an empty argument; `result` receives what the
    // plug-in wrote into an empty result.
    HRESULT event(HostEventId id, Variant& result) const;

    // The setup (158) or settings (159) document event: the host passes an
    // array of VARIANTs holding the document, the element and the saving
    // flag, plus a fourth element for the setup event.
    HRESULT documentEvent(HostEventId id, HostXmlDocument* document, HostXmlElement* element, bool saving,
                          Variant& result) const;
    static Variant documentArgument(HostEventId id, HostXmlDocument* document, HostXmlElement* element,
                                    bool saving);

    // A create-window event with the host window in the argument, or a drop
    // event with an empty one.
    HRESULT windowEvent(HostEventId id, IUnknown* hostWindow) const;

    const ComPtr<IPlugin3>& plugin() const noexcept { return plugin_; }
    const ComPtr<IPlugin4>& events() const noexcept { return events_; }

private:
    ComPtr<IPlugin3> plugin_;
    ComPtr<IPlugin4> events_;
};

}  // namespace vexa::host
