// The type library in the module's resources must describe the C++
// declarations exactly: the host calls by vtable slot, late-bound callers by
// the library's slots, and both must reach the same method.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/module_exports.h"
#include "platform/com_ptr.h"
#include "platform/bstr.h"
#include "platform/text.h"
#include "contract/plugin_interfaces.h"

namespace registration_test {
namespace {

using vexa::ComPtr;

// Implements the plug-in interfaces as declared in C++; every method notes
// its own name, so a call through the type library shows which C++ method a
// library slot reaches.
class SlotRecorder final : public IPlugin3, public IPlugin4 {
public:
    std::string called;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

#define RECORDING(name) \
    HRESULT STDMETHODCALLTYPE name() override { return record(#name); }
#define RECORDING_FLAG(name) \
    HRESULT STDMETHODCALLTYPE name(VARIANT_BOOL* flag) override { return record(#name, flag); }
#define RECORDING_ARGUMENT_AND_FLAG(name) \
    HRESULT STDMETHODCALLTYPE name(LONG, VARIANT_BOOL* flag) override { return record(#name, flag); }

    HRESULT STDMETHODCALLTYPE Initialize(HostApp*) override { return record("Initialize"); }
    RECORDING(StartAcquisition) RECORDING(StopAcquisition) RECORDING(PrepareAcquisition)
    RECORDING(Plugin2Method5) RECORDING(ReadData) RECORDING(Plugin2Method7) RECORDING(Plugin2Method8)
    RECORDING(Plugin2Method9) RECORDING(Plugin2Method10) RECORDING(Plugin2Method11) RECORDING(NewSetup)
    RECORDING(DetachOutputChannels) RECORDING_ARGUMENT_AND_FLAG(Plugin2Method14) RECORDING(Plugin2Method15)
    RECORDING(Plugin2Method16) RECORDING_FLAG(Plugin2Method17) RECORDING(Plugin2Method18)
    RECORDING(Plugin2Method19)

    RECORDING(StartAcquisition3) RECORDING(StopAcquisition3) RECORDING(Plugin3Method3) RECORDING(Plugin3Method4)
    RECORDING(Plugin3Method5) RECORDING(Plugin3Method6) RECORDING(Plugin3Method7) RECORDING(Plugin3Method8)
    RECORDING(Plugin3Method9) RECORDING(ReadData3) RECORDING(Plugin3Method12) RECORDING_FLAG(Plugin3Method13)
    RECORDING(Plugin3Method14) RECORDING(Plugin3Method15) RECORDING(Plugin3Method16) RECORDING(Plugin3Method17)
    RECORDING(Plugin3Method18) RECORDING_ARGUMENT_AND_FLAG(Plugin3Method19) RECORDING(Plugin3Method20)
    HRESULT STDMETHODCALLTYPE Plugin3Method10(LONG* value) override {
        *value = 0;
        return record("Plugin3Method10");
    }

    HRESULT STDMETHODCALLTYPE ProcessEvent(HostEventId, VARIANT*, VARIANT*) override {
        return record("ProcessEvent");
    }
#undef RECORDING
#undef RECORDING_FLAG
#undef RECORDING_ARGUMENT_AND_FLAG

private:
    HRESULT record(const char* name, VARIANT_BOOL* flag = nullptr) {
        called = name;
        if (flag != nullptr) *flag = 0;
        return S_OK;
    }
};

ComPtr<ITypeLib> loadModuleLibrary(const ModuleExports& module) {
    ComPtr<ITypeLib> library;
    EXPECT_EQ(LoadTypeLibEx(module.path().c_str(), REGKIND_NONE, library.put()), S_OK);
    return library;
}

std::string nameOf(ITypeInfo* info, MEMBERID member) {
    vexa::Bstr name;
    EXPECT_EQ(info->GetDocumentation(member, name.put(), nullptr, nullptr, nullptr), S_OK);
    return vexa::wideToUtf8(name.view());
}

// Arguments for every parameter the caller passes (not the return value),
// last parameter first as DISPPARAMS wants them. Pointers to VARIANTs get a
// VARIANT by reference.
struct Arguments {
    explicit Arguments(const FUNCDESC& function) {
        for (SHORT index = function.cParams - 1; index >= 0; --index) {
            const ELEMDESC& parameter = function.lprgelemdescParam[index];
            if (parameter.paramdesc.wParamFlags & PARAMFLAG_FRETVAL) continue;
            VARIANT argument;
            VariantInit(&argument);
            const TYPEDESC& type = parameter.tdesc;
            if (type.vt == VT_PTR && type.lptdesc->vt == VT_VARIANT) {
                argument.vt = VT_BYREF | VT_VARIANT;
                argument.pvarVal = &referenced;
            } else if (type.vt == VT_I4) {
                argument.vt = VT_I4;
                argument.lVal = 0;
            } else {
                argument.vt = VT_DISPATCH;  // the host application: none here
                argument.pdispVal = nullptr;
            }
            values.push_back(argument);
        }
        params = {values.data(), nullptr, static_cast<UINT>(values.size()), 0};
    }

    VARIANT referenced{};
    std::vector<VARIANT> values;
    DISPPARAMS params{};
};

struct InterfaceLayout {
    IID iid;
    const char* name;
    UINT firstSlot;
    UINT methodCount;
};

const InterfaceLayout pluginInterfaces[] = {
    {vexa::interfaceId<IPlugin2>(), "IPlugin2", 7, 19},
    {vexa::interfaceId<IPlugin3>(), "IPlugin3", 26, 20},
    {vexa::interfaceId<IPlugin4>(), "IPlugin4", 7, 1},
};

TEST(TypeLibrary, DescribesEachPluginInterfaceSlotBySlotAsTheCppDeclarations) {
    ModuleExports module;
    ComPtr<ITypeLib> library = loadModuleLibrary(module);
    ASSERT_TRUE(library);
    SlotRecorder recorder;

    for (const InterfaceLayout& layout : pluginInterfaces) {
        SCOPED_TRACE(layout.name);
        ComPtr<ITypeInfo> dispatchInfo;
        ASSERT_EQ(library->GetTypeInfoOfGuid(layout.iid, dispatchInfo.put()), S_OK);
        EXPECT_EQ(nameOf(dispatchInfo.get(), MEMBERID_NIL), layout.name);

        // The vtable part of the dual interface.
        HREFTYPE vtablePart = 0;
        ASSERT_EQ(dispatchInfo->GetRefTypeOfImplType(-1, &vtablePart), S_OK);
        ComPtr<ITypeInfo> info;
        ASSERT_EQ(dispatchInfo->GetRefTypeInfo(vtablePart, info.put()), S_OK);
        TYPEATTR* attributes = nullptr;
        ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
        const TYPEATTR typeAttributes = *attributes;
        info->ReleaseTypeAttr(attributes);
        EXPECT_EQ(typeAttributes.typekind, TKIND_INTERFACE);
        EXPECT_TRUE(typeAttributes.wTypeFlags & TYPEFLAG_FDUAL);
        ASSERT_EQ(typeAttributes.cFuncs, layout.methodCount);
        EXPECT_EQ(typeAttributes.cbSizeVft, (layout.firstSlot + layout.methodCount) * sizeof(void*));

        void* instance = IsEqualIID(layout.iid, vexa::interfaceId<IPlugin4>())
                             ? static_cast<void*>(static_cast<IPlugin4*>(&recorder))
                             : static_cast<void*>(static_cast<IPlugin3*>(&recorder));
        for (UINT index = 0; index < layout.methodCount; ++index) {
            FUNCDESC* function = nullptr;
            ASSERT_EQ(info->GetFuncDesc(index, &function), S_OK);
            const std::string name = nameOf(info.get(), function->memid);
            SCOPED_TRACE(name);
            EXPECT_EQ(function->oVft, static_cast<SHORT>((layout.firstSlot + index) * sizeof(void*)));

            Arguments arguments(*function);
            VARIANT result;
            VariantInit(&result);
            recorder.called.clear();
            EXPECT_EQ(dispatchInfo->Invoke(instance, function->memid, DISPATCH_METHOD, &arguments.params, &result,
                                           nullptr, nullptr),
                      S_OK);
            EXPECT_EQ(recorder.called, name);
            VariantClear(&result);
            info->ReleaseFuncDesc(function);
        }
    }
}

TEST(TypeLibrary, OffersThePluginClassWithItsTwoInterfaces) {
    ModuleExports module;
    ComPtr<ITypeLib> library = loadModuleLibrary(module);
    ASSERT_TRUE(library);

    TLIBATTR* libraryAttributes = nullptr;
    ASSERT_EQ(library->GetLibAttr(&libraryAttributes), S_OK);
    EXPECT_TRUE(IsEqualGUID(libraryAttributes->guid, LIBID_VexaPluginLib));
    EXPECT_EQ(libraryAttributes->syskind, SYS_WIN64);
    library->ReleaseTLibAttr(libraryAttributes);
    vexa::Bstr libraryName;
    ASSERT_EQ(library->GetDocumentation(-1, libraryName.put(), nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(vexa::wideToUtf8(libraryName.view()), "VexaPluginLib");

    ComPtr<ITypeInfo> plugin;
    ASSERT_EQ(library->GetTypeInfoOfGuid(CLSID_VexaPlugin, plugin.put()), S_OK);
    EXPECT_EQ(nameOf(plugin.get(), MEMBERID_NIL), "Plugin");
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(plugin->GetTypeAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->typekind, TKIND_COCLASS);
    EXPECT_EQ(attributes->cImplTypes, 2);
    plugin->ReleaseTypeAttr(attributes);

    const IID expected[] = {vexa::interfaceId<IPlugin3>(), vexa::interfaceId<IPlugin4>()};
    for (UINT index = 0; index < 2; ++index) {
        HREFTYPE reference = 0;
        ASSERT_EQ(plugin->GetRefTypeOfImplType(index, &reference), S_OK);
        ComPtr<ITypeInfo> implemented;
        ASSERT_EQ(plugin->GetRefTypeInfo(reference, implemented.put()), S_OK);
        ASSERT_EQ(implemented->GetTypeAttr(&attributes), S_OK);
        EXPECT_TRUE(IsEqualGUID(attributes->guid, expected[index]));
        implemented->ReleaseTypeAttr(attributes);
    }
    INT flags = 0;
    ASSERT_EQ(plugin->GetImplTypeFlags(0, &flags), S_OK);
    EXPECT_TRUE(flags & IMPLTYPEFLAG_FDEFAULT);
}

}  // namespace
}  // namespace registration_test
