// The COM object the host creates and drives. It may live inside an
// aggregate: then its own IUnknown (the inner one) belongs to the outer
// object, and every other interface delegates to the outer object.
#pragma once

#include "platform/com_ptr.h"
#include "contract/host_app.h"
#include "plugin/plugin_core.h"
#include "contract/plugin_interfaces.h"

class Plugin final : public IPlugin3, public IPlugin4 {
public:
    // Creates a plug-in object inside `outer` (may be null) and asks its inner
    // unknown for `iid`; the object is gone again if that fails.
    static HRESULT create(IUnknown* outer, REFIID iid, void** object);

    // IUnknown, delegating to the controlling unknown.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

    // IPlugin2
    HRESULT STDMETHODCALLTYPE Initialize(HostApp* hostApp) override;
    HRESULT STDMETHODCALLTYPE StartAcquisition() override;
    HRESULT STDMETHODCALLTYPE StopAcquisition() override;
    HRESULT STDMETHODCALLTYPE PrepareAcquisition() override;
    HRESULT STDMETHODCALLTYPE Plugin2Method5() override;
    HRESULT STDMETHODCALLTYPE ReadData() override;
    HRESULT STDMETHODCALLTYPE Plugin2Method7() override;
    HRESULT STDMETHODCALLTYPE Plugin2Method8() override;
    HRESULT STDMETHODCALLTYPE Plugin2Method9() override;
    HRESULT STDMETHODCALLTYPE Plugin2Method10() override;
    HRESULT STDMETHODCALLTYPE Plugin2Method11() override;
    HRESULT STDMETHODCALLTYPE NewSetup() override;
    HRESULT STDMETHODCALLTYPE DetachOutputChannels() override;
    HRESULT STDMETHODCALLTYPE Plugin2Method14(LONG argument, VARIANT_BOOL* flag) override;
    HRESULT STDMETHODCALLTYPE Plugin2Method15() override;
    HRESULT STDMETHODCALLTYPE Plugin2Method16() override;
    HRESULT STDMETHODCALLTYPE Plugin2Method17(VARIANT_BOOL* flag) override;
    HRESULT STDMETHODCALLTYPE Plugin2Method18() override;
    HRESULT STDMETHODCALLTYPE Plugin2Method19() override;

    // IPlugin3
    HRESULT STDMETHODCALLTYPE StartAcquisition3() override;
    HRESULT STDMETHODCALLTYPE StopAcquisition3() override;
    HRESULT STDMETHODCALLTYPE Plugin3Method3() override;
    HRESULT STDMETHODCALLTYPE Plugin3Method4() override;
    HRESULT STDMETHODCALLTYPE Plugin3Method5() override;
    HRESULT STDMETHODCALLTYPE Plugin3Method6() override;
    HRESULT STDMETHODCALLTYPE Plugin3Method7() override;
    HRESULT STDMETHODCALLTYPE Plugin3Method8() override;
    HRESULT STDMETHODCALLTYPE Plugin3Method9() override;
    HRESULT STDMETHODCALLTYPE Plugin3Method10(LONG* value) override;
    HRESULT STDMETHODCALLTYPE ReadData3() override;
    HRESULT STDMETHODCALLTYPE Plugin3Method12() override;
    HRESULT STDMETHODCALLTYPE Plugin3Method13(VARIANT_BOOL* flag) override;
    HRESULT STDMETHODCALLTYPE Plugin3Method14() override;
    HRESULT STDMETHODCALLTYPE Plugin3Method15() override;
    HRESULT STDMETHODCALLTYPE Plugin3Method16() override;
    HRESULT STDMETHODCALLTYPE Plugin3Method17() override;
    HRESULT STDMETHODCALLTYPE Plugin3Method18() override;
    HRESULT STDMETHODCALLTYPE Plugin3Method19(LONG argument, VARIANT_BOOL* flag) override;
    HRESULT STDMETHODCALLTYPE Plugin3Method20() override;

    // IPlugin4
    HRESULT STDMETHODCALLTYPE ProcessEvent(HostEventId id, VARIANT* argument, VARIANT* result) override;

private:
    // The object's own IUnknown: it owns the reference count and answers
    // the interface table. Outside an aggregate it is also the controlling
    // unknown.
    class InnerUnknown final : public IUnknown {
    public:
        explicit InnerUnknown(Plugin& owner) noexcept : owner_(owner) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;

    private:
        Plugin& owner_;
    };

    explicit Plugin(IUnknown* outer);
    ~Plugin();
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    // The interface table: IUnknown, IDispatch, IPlugin2 and IPlugin3 through
    // the first part, IPlugin4 through the second, nothing else.
    HRESULT findInterface(REFIID iid, void** object);
    HRESULT checkHostVersion();

    HRESULT processDocumentEvent(HostEventId id, const VARIANT& argument, VARIANT* result);
    HRESULT processWindowEvent(HostEventId id, const VARIANT& argument);

    // A plain counter: the object lives in a single-threaded apartment.
    ULONG references_ = 0;
    InnerUnknown inner_{*this};
    IUnknown* controlling_;
    bool aggregated_;

    vexa::ComPtr<HostApp> app_;
    PluginCore core_;
};
