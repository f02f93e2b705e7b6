// The reference host's own objects, as the plug-in will find them.
#include <gtest/gtest.h>

#include <stdexcept>

#include "host/objects/host_app_object.h"
#include "host/plugin_module.h"
#include "platform/bstr.h"

namespace {

using vexa::Bstr;
using namespace vexa::host;

TEST(HostApp, RecordsAndPrintsEveryReport) {
    auto app = makeHostObject<HostAppObject>();
    testing::internal::CaptureStderr();
    EXPECT_EQ(app->ReportError(Bstr("first \xC2\xB5V").get()), S_OK);
    EXPECT_EQ(app->ReportError(Bstr("second").get()), S_OK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "host: first \xC2\xB5V\nhost: second\n");
    EXPECT_EQ(app->reportedErrors(), (std::vector<std::string>{"first \xC2\xB5V", "second"}));
}

TEST(HostApp, GivesTheLogFolderOnlyForItsKind) {
    auto app = makeHostObject<HostAppObject>();
    EXPECT_FALSE(app->logFolder().empty()) << "the temporary folder by default";
    app->setLogFolder("logs\xC3\xA9/");
    Bstr folder;
    EXPECT_EQ(app->GetFolder(1, folder.put()), S_OK);
    EXPECT_EQ(folder.utf8(), "logs\xC3\xA9/");
    EXPECT_EQ(app->GetFolder(2, folder.put()), E_INVALIDARG);
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

}  // namespace
