// Late-bound calls into the plug-in object, served from its type library.
#include <gtest/gtest.h>

#include "host/plugin_module.h"
#include "platform/com_ptr.h"
#include "contract/plugin_interfaces.h"

namespace registration_test {
namespace {

using vexa::ComPtr;

class PluginDispatch : public ::testing::Test {
protected:
    DISPID idOf(const wchar_t* name) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        DISPID id = DISPID_UNKNOWN;
        EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
        return id;
    }

    // Released before the module that holds the code.
    vexa::host::PluginModule module{vexa::host::PluginModule::besideProgram()};
    ComPtr<IDispatch> dispatch = module.createPlugin().tryQuery<IDispatch>();
};

TEST_F(PluginDispatch, DescribesThePluginInterfaceItAnswersFor) {
    ASSERT_TRUE(dispatch);
    UINT count = 0;
    ASSERT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);

    ComPtr<ITypeInfo> info;
    ASSERT_EQ(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put()), S_OK);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
    EXPECT_TRUE(IsEqualIID(attributes->guid, vexa::interfaceId<IPlugin3>()));
    info->ReleaseTypeAttr(attributes);

    EXPECT_EQ(dispatch->GetTypeInfo(1, LOCALE_USER_DEFAULT, info.put()), DISP_E_BADINDEX);
    EXPECT_FALSE(info);
}

TEST_F(PluginDispatch, InvokeReachesOwnAndInheritedMethods) {
    ASSERT_TRUE(dispatch);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(dispatch->Invoke(idOf(L"Plugin3Method10"), IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none,
                               &result, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, 7);

    // An IPlugin2 method with an argument; its flag is the host's 1.
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_I4;
    argument.lVal = 5;
    DISPPARAMS one{&argument, nullptr, 1, 0};
    VariantInit(&result);
    ASSERT_EQ(dispatch->Invoke(idOf(L"Plugin2Method14"), IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &one,
                               &result, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(result.vt, VT_BOOL);
    EXPECT_EQ(result.boolVal, 1);

    // With no devices an acquisition start has nothing to do but answer;
    // an interface other than IID_NULL is refused before anything runs.
    const DISPID start = idOf(L"StartAcquisition");
    EXPECT_EQ(dispatch->Invoke(start, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr,
                               nullptr),
              S_OK);
    EXPECT_EQ(dispatch->Invoke(start, vexa::interfaceId<IPlugin3>(), LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none,
                               nullptr, nullptr, nullptr),
              DISP_E_UNKNOWNINTERFACE);
}

}  // namespace
}  // namespace registration_test
