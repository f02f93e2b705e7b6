// The module's entry points, the class factory, the interface table and
// aggregation, seen from the host's side of the module.
#include "contract/plugin_interfaces.h"
#include "support/plugin_test_support.h"

namespace plugin_test {
namespace {

constexpr CLSID otherClass = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};

TEST(PluginModule, GivesItsOneClassFactoryOnlyForThePluginClass) {
    const PluginModule& module = loadedModule();
    void* object = &object;
    EXPECT_EQ(module.getClassObject(otherClass, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);

    ComPtr<IClassFactory> first = module.classFactory();
    ComPtr<IClassFactory> second = module.classFactory();
    EXPECT_EQ(first.get(), second.get()) << "the factory is made once and kept";

    ComPtr<IUnknown> asUnknown;
    EXPECT_EQ(module.getClassObject(CLSID_VexaPlugin, IID_IUnknown, asUnknown.putVoid()), S_OK);
    EXPECT_EQ(module.getClassObject(CLSID_VexaPlugin, vexa::interfaceId<IPlugin3>(), &object), E_NOINTERFACE);
}

TEST(PluginModule, CanUnloadOnlyWithoutLivePluginsOrFactoryLocks) {
    const PluginModule& module = loadedModule();
    ASSERT_EQ(module.canUnloadNow(), S_OK);
    {
        ComPtr<IUnknown> plugin = module.createPlugin();
        EXPECT_EQ(module.canUnloadNow(), S_FALSE);
        ComPtr<IUnknown> again = plugin;
        plugin.reset();
        EXPECT_EQ(module.canUnloadNow(), S_FALSE) << "a second reference keeps the object";
    }
    EXPECT_EQ(module.canUnloadNow(), S_OK);

    // A host may keep the factory and create later: holding it keeps the
    // module, as LockServer does.
    ComPtr<IClassFactory> factory = module.classFactory();
    EXPECT_EQ(module.canUnloadNow(), S_FALSE);
    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    factory.reset();
    EXPECT_EQ(module.canUnloadNow(), S_FALSE);
    module.classFactory()->LockServer(FALSE);
    EXPECT_EQ(module.canUnloadNow(), S_OK);
}

TEST(PluginObject, AnswersItsInterfaceTableAndNothingElse) {
    ComPtr<IUnknown> plugin = loadedModule().createPlugin();
    auto query = [&](const IID& iid) {
        void* object = nullptr;
        const HRESULT result = plugin->QueryInterface(iid, &object);
        if (SUCCEEDED(result)) static_cast<IUnknown*>(object)->Release();
        return std::pair{result, object};
    };
    const void* first = query(IID_IUnknown).second;
    EXPECT_EQ(query(IID_IDispatch).second, first);
    EXPECT_EQ(query(vexa::interfaceId<IPlugin2>()).second, first);
    EXPECT_EQ(query(vexa::interfaceId<IPlugin3>()).second, first);
    const auto [result4, plugin4] = query(vexa::interfaceId<IPlugin4>());
    EXPECT_EQ(result4, S_OK);
    EXPECT_NE(plugin4, first);

    for (const IID& iid : {IID_IClassFactory, IID_ISupportErrorInfo, vexa::interfaceId<HostApp>(), otherClass}) {
        const auto [result, object] = query(iid);
        EXPECT_EQ(result, E_NOINTERFACE);
        EXPECT_EQ(object, nullptr);
    }

    // Every interface leads back to the same identity.
    ComPtr<IPlugin4> events = plugin.tryQuery<IPlugin4>();
    ASSERT_TRUE(events);
    EXPECT_EQ(events.tryQuery<IUnknown>().get(), first);
}

#ifndef _WIN32
// The Linux module has no type library to serve IDispatch from: no type
// information and no late-bound calls (the Windows module's are tested with
// its registration).
TEST(PluginObject, DispatchHasNoTypeInformationOnLinux) {
    ComPtr<IDispatch> dispatch = loadedModule().createPlugin().tryQuery<IDispatch>();
    ASSERT_TRUE(dispatch);
    UINT count = 99;
    EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 0u);
    ITypeInfo* info = nullptr;
    EXPECT_EQ(dispatch->GetTypeInfo(0, 0, &info), E_NOTIMPL);
    DISPID id = 0;
    LPOLESTR name = nullptr;
    EXPECT_EQ(dispatch->GetIDsOfNames(GUID_NULL, &name, 1, 0, &id), E_NOTIMPL);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(dispatch->Invoke(1, GUID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), E_NOTIMPL);
}
#endif

// An outer object that aggregates the plug-in: it answers IUnknown itself
// and hands every other request to the inner object.
class OuterObject final : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown)) {
            *object = this;
            AddRef();
            return S_OK;
        }
        return inner->QueryInterface(iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }

    ULONG references = 1;
    IUnknown* inner = nullptr;
};

TEST(PluginAggregation, OnlyTheInnerUnknownMayBeAskedFor) {
    OuterObject outer;
    void* object = &object;
    EXPECT_EQ(loadedModule().classFactory()->CreateInstance(&outer, vexa::interfaceId<IPlugin3>(), &object),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(loadedModule().canUnloadNow(), S_OK) << "nothing was left behind";
}

TEST(PluginAggregation, DelegatesToTheOuterObjectAndLivesByTheInnerUnknown) {
    const PluginModule& module = loadedModule();
    OuterObject outer;
    ASSERT_EQ(module.classFactory()->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&outer.inner)),
              S_OK);
    ASSERT_NE(outer.inner, nullptr);
    EXPECT_NE(static_cast<void*>(outer.inner), static_cast<void*>(&outer));
    EXPECT_EQ(outer.references, 1u) << "creating the inner object does not count on the outer one";

    IPlugin3* plugin = nullptr;
    ASSERT_EQ(outer.inner->QueryInterface(vexa::interfaceId<IPlugin3>(), reinterpret_cast<void**>(&plugin)), S_OK);
    EXPECT_EQ(outer.references, 2u) << "the reference taken through the inner object counts on the outer one";

    IUnknown* identity = nullptr;
    ASSERT_EQ(plugin->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(identity, &outer) << "the aggregate's identity is the outer object";
    identity->Release();

    IPlugin4* events = nullptr;
    ASSERT_EQ(plugin->QueryInterface(vexa::interfaceId<IPlugin4>(), reinterpret_cast<void**>(&events)), S_OK);
    events->Release();
    plugin->Release();
    EXPECT_EQ(outer.references, 1u);
    EXPECT_EQ(module.canUnloadNow(), S_FALSE) << "the inner unknown still holds the object";

    EXPECT_EQ(outer.inner->Release(), 0u);
    EXPECT_EQ(module.canUnloadNow(), S_OK);
}

}  // namespace
}  // namespace plugin_test
