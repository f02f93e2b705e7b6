// The plug-in module loaded by path, as the host loads it, and its two
// COM entry points. Everything obtained from the module must be released
// before the module object goes, since that unloads the code.
#pragma once

#include <optional>
#include <string>

#include "platform/com.h"
#include "platform/com_ptr.h"
#include "platform/dynamic_library.h"

namespace vexa::host {

class PluginModule {
public:
    // Throws std::runtime_error when the file cannot be loaded or lacks an
    // entry point.
    explicit PluginModule(const std::string& path);

    // The module's file name on this platform.
    static std::string fileName();
    // The module beside the running program (on Linux, in an installed
    // tree: in lib/vexa/ beside the program's bin/).
    static std::string besideProgram();

    HRESULT getClassObject(REFCLSID classId, REFIID iid, void** object) const;
    HRESULT canUnloadNow() const;

    // The class factory of the plug-in class; throws ComError when the
    // module does not give it.
    ComPtr<IClassFactory> classFactory() const;
    // A new plug-in object; throws ComError when it cannot be made.
    ComPtr<IUnknown> createPlugin() const;

    // A new plug-in object made the way the real host makes it: by its
    // class identifier, from the registry (CoCreateInstance). Windows only;
    // the calling thread must be in an apartment (ComApartment). Throws
    // ComError, e.g. REGDB_E_CLASSNOTREG when the class is not registered.
    static ComPtr<IUnknown> createRegistered();

private:
    using GetClassObjectFunction = HRESULT (*)(REFCLSID, REFIID, LPVOID*);
    using CanUnloadNowFunction = HRESULT (*)();

    DynamicLibrary library_;
    GetClassObjectFunction getClassObject_ = nullptr;
    CanUnloadNowFunction canUnloadNow_ = nullptr;
};

// The calling thread's single-threaded COM apartment, for the scope: the
// plug-in is registered for the apartment model. Nothing to do on Linux.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool entered_ = false;
};

// Where the host's plug-in objects come from: the module file, loaded as a
// host loads a plug-in's file, or COM, by class identifier from the
// registry (the module then belongs to COM).
class PluginSource {
public:
    PluginSource(const std::string& path, bool registered);
    ComPtr<IUnknown> create() const;
    // The file's DllCanUnloadNow; null when COM holds the module.
    const PluginModule* module() const noexcept { return module_ ? &*module_ : nullptr; }

private:
    ComApartment apartment_;
    std::optional<PluginModule> module_;
};

}  // namespace vexa::host
