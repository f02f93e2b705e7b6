// The module's entry points and its one class factory.
// Including the registry header fills the core exception classes when the
// module loads and removes them again when it unloads.
#include "core/exception_registry.h"
#include "platform/com.h"
#include "plugin/module_lock.h"
#include "plugin/plugin.h"
#include "contract/plugin_interfaces.h"

#ifdef _WIN32
#include <commctrl.h>

#include "plugin/module_resources.h"
#include "plugin/registration.h"
#endif

// The exports. Windows declares most of them itself and the module
// definition file exports all five with fixed ordinals. Registration exists
// only there: on Linux the two COM entry points are the only symbols with
// default visibility.
#ifdef _WIN32
STDAPI DllInstall(BOOL install, LPCWSTR commandLine);
#else
extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow();
extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(REFCLSID classId, REFIID iid,
                                                                          LPVOID* object);
#endif

namespace {

// Made on the first request and kept until the module is unloaded. A host
// may keep the factory it got from CoGetClassObject and create objects
// later, so every reference to it holds the module, as LockServer does;
// DllCanUnloadNow says yes only once those are released too.
class PluginClassFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // The static object is never deleted; the answers are only hints.
    ULONG STDMETHODCALLTYPE AddRef() override {
        lockModule();
        return 2;
    }
    ULONG STDMETHODCALLTYPE Release() override {
        unlockModule();
        return 1;
    }

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

#ifdef _WIN32

STDAPI DllRegisterServer() { return registerPlugin(); }

STDAPI DllUnregisterServer() { return unregisterPlugin(); }

STDAPI DllInstall(BOOL install, LPCWSTR commandLine) { return installPlugin(install != FALSE, commandLine); }

// Plugin needs no class-level start-up or shutdown, and the class factory is
// a static object, so detaching has nothing to release. Nothing may be freed
// with FreeLibrary here either: process detach runs under the loader lock.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        rememberModuleInstance(instance);
        // The eight classic control classes, for the windows the host embeds.
        INITCOMMONCONTROLSEX controls{sizeof controls, 0xFF};
        InitCommonControlsEx(&controls);
        // No per-thread state here: spare every thread start the call. The
        // system ignores this for a module with static TLS, which the mingw
        // runtime gives us; the notifications then reach this function and
        // are simply not acted on.
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

#endif
