// The reference host's own objects, as the plug-in will find them.
#include <gtest/gtest.h>

#include <stdexcept>

#include "host/objects/host_app_object.h"
#include "host/plugin_driver.h"
#include "host/plugin_module.h"
#include "platform/host_string.h"
#include "platform/variant.h"

namespace {

using vexa::ComPtr;
using vexa::HostString;
using vexa::Variant;
using namespace vexa::host;

TEST(HostApp, RecordsAndPrintsEveryReport) {
    auto app = makeHostObject<HostAppObject>();
    testing::internal::CaptureStderr();
    EXPECT_EQ(app->ReportError(HostString("first \xC2\xB5V").get()), S_OK);
    EXPECT_EQ(app->ReportError(HostString("second").get()), S_OK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "host: first \xC2\xB5V\nhost: second\n");
    EXPECT_EQ(app->reportedErrors(), (std::vector<std::string>{"first \xC2\xB5V", "second"}));
}

TEST(HostApp, GivesTheLogFolderOnlyForItsKind) {
    auto app = makeHostObject<HostAppObject>();
    EXPECT_FALSE(app->logFolder().empty()) << "the temporary folder by default";
    app->setLogFolder("logs\xC3\xA9/");
    HostString folder;
    EXPECT_EQ(app->GetFolder(1, folder.put()), S_OK);
    EXPECT_EQ(folder.utf8(), "logs\xC3\xA9/");
    EXPECT_EQ(app->GetFolder(2, folder.put()), E_INVALIDARG);
}

TEST(HostApp, AnswersItsVersionUntilToldToFailAndCountsCalls) {
    auto app = makeHostObject<HostAppObject>();
    app->setVersion({1, 4, 2, 3, 5});
    LONG v[5] = {};
    ASSERT_EQ(app->GetVersion(&v[0], &v[1], &v[2], &v[3], &v[4]), S_OK);
    EXPECT_EQ(std::vector<LONG>(v, v + 5), (std::vector<LONG>{1, 4, 2, 3, 5}));
    app->failMethod(161, E_UNEXPECTED);
    EXPECT_EQ(app->GetVersion(&v[0], &v[1], &v[2], &v[3], &v[4]), E_UNEXPECTED);
    EXPECT_EQ(app->callCount(161), 2);
}

TEST(HostApp, LeadsFromItsDataToThePluginsChannelGroup) {
    auto app = makeHostObject<HostAppObject>();
    ComPtr<HostData> data;
    ASSERT_EQ(app->GetData(data.put()), S_OK);
    ComPtr<HostDataModel> model;
    ASSERT_EQ(data->GetModel(model.put()), S_OK);
    ComPtr<IUnknown> item;
    EXPECT_EQ(model->GetItem(7, item.put()), E_INVALIDARG);
    ASSERT_EQ(model->GetItem(8, item.put()), S_OK);
    ComPtr<HostChannelGroup> group = item.tryQuery<HostChannelGroup>();
    EXPECT_EQ(group.get(), static_cast<HostChannelGroup*>(app->dataObject()->modelObject()->channelGroup().get()));
}

TEST(PluginModuleLoader, RefusesMissingFilesAndModulesWithoutEntryPoints) {
    EXPECT_THROW(PluginModule("no-such-folder/" + PluginModule::fileName()), std::runtime_error);
#ifdef _WIN32
    const std::string notAServer = "kernel32.dll";
#else
    const std::string notAServer = vexa::moduleFolderOf(&typeid(PluginModule)) + "libvexaoleaut.so";
#endif
    try {
        PluginModule module(notAServer);
        FAIL() << "loaded " << notAServer;
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("entry points"), std::string::npos) << error.what();
    }
}

TEST(PluginDriver, BuildsDocumentArgumentsAsTheHostDoes) {
    for (HostEventId id : {HostEvent::SetupDocument, HostEvent::SettingsDocument}) {
        Variant argument = PluginDriver::documentArgument(id, nullptr, nullptr, true);
        ASSERT_EQ(argument.type(), VT_ARRAY | VT_VARIANT);
        vexa::SafeArrayLock array(argument.get()->parray, VT_VARIANT);
        EXPECT_EQ(array.lowerBound(), 0);
        EXPECT_EQ(array.size(), id == HostEvent::SetupDocument ? 4 : 3);
        EXPECT_EQ(array.at<VARIANT>(0).vt, VT_DISPATCH);
        EXPECT_EQ(array.at<VARIANT>(1).vt, VT_DISPATCH);
        EXPECT_EQ(array.at<VARIANT>(2).vt, VT_BOOL);
        EXPECT_EQ(array.at<VARIANT>(2).boolVal, VARIANT_TRUE);
    }
}

}  // namespace
