// The module's entry points and its one class factory.
// Including the registry header fills the core exception classes when the
// module loads and removes them again when it unloads.
#include "core/exception_registry.h"
#include "platform/com.h"
#include "plugin/module_lock.h"
#include "plugin/plugin.h"
#include "plugin/plugin_interfaces.h"

// The exports. Windows declares them itself and the module definition file
// exports them with fixed ordinals; on Linux they are the only symbols with
// default visibility.
#ifndef _WIN32
extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow();
extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(REFCLSID classId, REFIID iid,
                                                                          LPVOID* object);
#endif

namespace {

// Made on the first request and kept until the module is unloaded, so its
// own references do not count; only LockServer keeps the module loaded.
class PluginClassFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        return Plugin::create(outer, iid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) {
            lockModule();
        } else {
            unlockModule();
        }
        return S_OK;
    }
};

PluginClassFactory& pluginClassFactory() {
    static PluginClassFactory factory;
    return factory;
}

}  // namespace

STDAPI DllCanUnloadNow() {
    return moduleLockCount() == 0 ? S_OK : S_FALSE;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, LPVOID* object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(classId, CLSID_VexaPlugin)) return CLASS_E_CLASSNOTAVAILABLE;
    return pluginClassFactory().QueryInterface(iid, object);
}
