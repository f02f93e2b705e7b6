// vexa-host: the reference host. For now it loads the plug-in and takes it
// through one life as the host would: creation, Initialize, its windows,
// a short acquisition without devices, and release.
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "host/objects/host_app_object.h"
#include "host/objects/host_window.h"
#include "host/plugin_driver.h"
#include "host/plugin_module.h"
#include "platform/com_error.h"

namespace {

using namespace vexa::host;

struct Options {
    std::string pluginPath = PluginModule::besideProgram();
    std::string logFolder;
};

void printUsage() {
    std::fprintf(stderr,
                 "usage: vexa-host check [--plugin FILE] [--log-dir DIR]\n"
                 "  check  load the plug-in and run it once through its life\n");
}

bool parseOptions(const std::vector<std::string_view>& arguments, Options& options) {
    if (arguments.empty() || arguments[0] != "check") return false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const bool hasValue = i + 1 < arguments.size();
        if (arguments[i] == "--plugin" && hasValue) {
            options.pluginPath = arguments[++i];
        } else if (arguments[i] == "--log-dir" && hasValue) {
            options.logFolder = arguments[++i];
            if (options.logFolder.back() != '/' && options.logFolder.back() != '\\') options.logFolder += '/';
        } else {
            return false;
        }
    }
    return true;
}

// Prints one step and tells whether it gave the expected answer.
bool step(const char* name, HRESULT answer, HRESULT expected = S_OK) {
    std::printf("%-22s 0x%08X%s\n", name, static_cast<unsigned>(answer), answer == expected ? "" : "  (unexpected)");
    return answer == expected;
}

bool runCheck(const Options& options) {
    PluginModule module(options.pluginPath);
    std::printf("loaded %s\n", options.pluginPath.c_str());
    bool good = true;
    {
        auto app = makeHostObject<HostAppObject>();
        if (!options.logFolder.empty()) app->setLogFolder(options.logFolder);
        auto window = makeHostObject<HostWindow>();
        PluginDriver plugin(module.createPlugin());
        good &= step("Initialize", plugin.initialize(app.get()));
        good &= step("settings window", plugin.windowEvent(HostEvent::CreateSettingsWindow, window.get()));
        good &= step("setup window", plugin.windowEvent(HostEvent::CreateSetupWindow, window.get()));
        good &= step("NewSetup", plugin.newSetup());
        good &= step("PrepareAcquisition", plugin.prepareAcquisition());
        good &= step("StartAcquisition", plugin.startAcquisition());
        for (int i = 1; i <= 3; ++i) {
            app->clock()->setTime(0.1 * i);
            good &= step("ReadData", plugin.readData());
        }
        good &= step("StopAcquisition", plugin.stopAcquisition());
        good &= step("drop setup window", plugin.windowEvent(HostEvent::DropSetupWindow, nullptr));
        good &= step("drop settings window", plugin.windowEvent(HostEvent::DropSettingsWindow, nullptr));
    }
    good &= step("DllCanUnloadNow", module.canUnloadNow());
    return good;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> arguments(argv + 1, argv + argc);
    Options options;
    if (!parseOptions(arguments, options)) {
        printUsage();
        return 2;
    }
    try {
        return runCheck(options) ? 0 : 1;
    } catch (const vexa::ComError& error) {
        std::fprintf(stderr, "vexa-host: %s\n", error.message().c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vexa-host: %s\n", error.what());
    }
    return 1;
}
