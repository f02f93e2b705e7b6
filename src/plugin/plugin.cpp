#include "plugin/plugin.h"

#include <string>

#include "platform/com_boundary.h"
#include "platform/com_error.h"
#include "plugin/host_report.h"
#include "plugin/module_lock.h"
#include "plugin/module_resources.h"
#include "plugin/plugin_identity.h"
#include "serialization/nerova_ncom_node.h"

namespace {

// The flags the host reads from its 16-bit out arguments are 1, not
// VARIANT_TRUE.
constexpr VARIANT_BOOL hostFlagSet = 1;
// The host's own value for Plugin3Method10; its meaning is the host's.
constexpr LONG plugin3Method10Answer = 7;

}  // namespace

Plugin::Plugin(IUnknown* outer)
    : controlling_(outer != nullptr ? outer : &inner_), aggregated_(outer != nullptr) {
    lockModule();
}

Plugin::~Plugin() { unlockModule(); }

HRESULT Plugin::create(IUnknown* outer, REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    // Inside an aggregate the outer object needs the inner unknown, which
    // is not reachable from any other interface.
    if (outer != nullptr && !IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
    return vexa::guarded([&] {
        Plugin* plugin = new Plugin(outer);
        plugin->inner_.AddRef();
        const HRESULT result = plugin->inner_.QueryInterface(iid, object);
        plugin->inner_.Release();  // destroys the object when the query failed
        return result;
    }, HostReport(nullptr));
}

HRESULT Plugin::findInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown)) {
        *object = aggregated_ ? static_cast<IUnknown*>(&inner_) : static_cast<IPlugin3*>(this);
    } else if (IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, vexa::interfaceId<IPlugin2>()) ||
               IsEqualIID(iid, vexa::interfaceId<IPlugin3>())) {
        *object = static_cast<IPlugin3*>(this);
    } else if (IsEqualIID(iid, vexa::interfaceId<IPlugin4>())) {
        *object = static_cast<IPlugin4*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    static_cast<IUnknown*>(*object)->AddRef();
    return S_OK;
}

HRESULT Plugin::InnerUnknown::QueryInterface(REFIID iid, void** object) {
    return owner_.findInterface(iid, object);
}

ULONG Plugin::InnerUnknown::AddRef() { return ++owner_.references_; }

ULONG Plugin::InnerUnknown::Release() {
    const ULONG left = --owner_.references_;
    if (left == 0) {
        // Whatever the destructor releases may call back into the object:
        // it must not reach zero a second time.
        owner_.references_ = 1;
        delete &owner_;
    }
    return left;
}

HRESULT Plugin::QueryInterface(REFIID iid, void** object) { return controlling_->QueryInterface(iid, object); }
ULONG Plugin::AddRef() { return controlling_->AddRef(); }
ULONG Plugin::Release() { return controlling_->Release(); }

#ifdef _WIN32

// IDispatch describes the first part of the object (IPlugin3 with the
// IPlugin2 methods it extends) from the type library in the module's
// resources, and calls through it into the same vtable the host uses.
HRESULT Plugin::GetTypeInfoCount(UINT* count) { return vexa::writeOut(count, UINT{1}); }

HRESULT Plugin::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return loadModuleTypeInfo(vexa::interfaceId<IPlugin3>(), info);
}

HRESULT Plugin::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    vexa::ComPtr<ITypeInfo> info;
    const HRESULT loaded = loadModuleTypeInfo(vexa::interfaceId<IPlugin3>(), info.put());
    if (FAILED(loaded)) return loaded;
    return info->GetIDsOfNames(names, count, ids);
}

HRESULT Plugin::Invoke(DISPID member, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                       EXCEPINFO* exception, UINT* argError) {
    if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    vexa::ComPtr<ITypeInfo> info;
    const HRESULT loaded = loadModuleTypeInfo(vexa::interfaceId<IPlugin3>(), info.put());
    if (FAILED(loaded)) return loaded;
    return info->Invoke(static_cast<IPlugin3*>(this), member, flags, params, result, exception, argError);
}

#else

// There is no type library on Linux: no type information and no late-bound
// call.
using NoTypeInfo = vexa::DispatchWithoutTypeInfo;
HRESULT Plugin::GetTypeInfoCount(UINT* count) { return NoTypeInfo::GetTypeInfoCount(count); }
HRESULT Plugin::GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) {
    return NoTypeInfo::GetTypeInfo(index, lcid, info);
}
HRESULT Plugin::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) {
    return NoTypeInfo::GetIDsOfNames(iid, names, count, lcid, ids);
}
HRESULT Plugin::Invoke(DISPID member, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                       EXCEPINFO* exception, UINT* argError) {
    return NoTypeInfo::Invoke(member, iid, lcid, flags, params, result, exception, argError);
}

#endif

HRESULT Plugin::Initialize(HostApp* hostApp) {
    return vexa::guarded([&] {
        app_ = vexa::ComPtr<HostApp>(hostApp);
        core_.bindHost(app_);
        return checkHostVersion();
    }, HostReport(&core_));
}

HRESULT Plugin::checkHostVersion() {
    HostApp* host = vexa::required(app_);
    LONG first = -1, major = -1, servicePack = -1, fourth = -1, fifth = 0;
    vexa::checkCall(host->GetVersion(&first, &major, &servicePack, &fourth, &fifth), host);
    if (major > 3 || (major == 3 && servicePack >= 4)) return S_OK;
    core_.reportError(std::string("Kite3 Plugin \"") + registeredPluginName +
                      "\" needs Nerova X3 SP4 or newer.");
    return E_ABORT;
}

HRESULT Plugin::StartAcquisition() {
    return vexa::guarded([&] { core_.startAcquisition(); }, HostReport(&core_));
}

HRESULT Plugin::StopAcquisition() {
    return vexa::guarded([&] { core_.stopAcquisition(); }, HostReport(&core_));
}

HRESULT Plugin::PrepareAcquisition() {
    return vexa::guarded([&] { core_.prepareAcquisition(); }, HostReport(&core_));
}

HRESULT Plugin::ReadData() {
    return vexa::guarded([&] { core_.readData(); }, HostReport(&core_));
}

HRESULT Plugin::NewSetup() {
    return vexa::guarded([&] {
        core_.unbindChannels();
        Nerova::Utils::Ncom::Utils::NerovaNCOMNode noSetup({}, {});
        core_.applySetup(noSetup);
    }, HostReport(&core_));
}

HRESULT Plugin::DetachOutputChannels() {
    return vexa::guarded([&] { core_.outputFactory.detachAllHostChannels(); }, HostReport(&core_));
}

HRESULT Plugin::Plugin2Method14(LONG, VARIANT_BOOL* flag) { return vexa::writeOut(flag, hostFlagSet); }
HRESULT Plugin::Plugin2Method17(VARIANT_BOOL* flag) { return vexa::writeOut(flag, hostFlagSet); }

HRESULT Plugin::StartAcquisition3() { return StartAcquisition(); }
HRESULT Plugin::StopAcquisition3() { return StopAcquisition(); }
HRESULT Plugin::ReadData3() { return ReadData(); }

HRESULT Plugin::Plugin3Method10(LONG* value) { return vexa::writeOut(value, plugin3Method10Answer); }
HRESULT Plugin::Plugin3Method13(VARIANT_BOOL* flag) { return vexa::writeOut(flag, VARIANT_BOOL{0}); }
HRESULT Plugin::Plugin3Method19(LONG, VARIANT_BOOL* flag) { return vexa::writeOut(flag, hostFlagSet); }

// The host's methods that ask nothing of this plug-in.
HRESULT Plugin::Plugin2Method5() { return S_OK; }
HRESULT Plugin::Plugin2Method7() { return S_OK; }
HRESULT Plugin::Plugin2Method8() { return S_OK; }
HRESULT Plugin::Plugin2Method9() { return S_OK; }
HRESULT Plugin::Plugin2Method10() { return S_OK; }
HRESULT Plugin::Plugin2Method11() { return S_OK; }
HRESULT Plugin::Plugin2Method15() { return S_OK; }
HRESULT Plugin::Plugin2Method16() { return S_OK; }
HRESULT Plugin::Plugin2Method18() { return S_OK; }
HRESULT Plugin::Plugin2Method19() { return S_OK; }
HRESULT Plugin::Plugin3Method3() { return S_OK; }
HRESULT Plugin::Plugin3Method4() { return S_OK; }
HRESULT Plugin::Plugin3Method5() { return S_OK; }
HRESULT Plugin::Plugin3Method6() { return S_OK; }
HRESULT Plugin::Plugin3Method7() { return S_OK; }
HRESULT Plugin::Plugin3Method8() { return S_OK; }
HRESULT Plugin::Plugin3Method9() { return S_OK; }
HRESULT Plugin::Plugin3Method12() { return S_OK; }
HRESULT Plugin::Plugin3Method14() { return S_OK; }
HRESULT Plugin::Plugin3Method15() { return S_OK; }
HRESULT Plugin::Plugin3Method16() { return S_OK; }
HRESULT Plugin::Plugin3Method17() { return S_OK; }
HRESULT Plugin::Plugin3Method18() { return S_OK; }
HRESULT Plugin::Plugin3Method20() { return S_OK; }
