// vexa-host: the reference host. `check` takes the plug-in through one life
// as the host would (creation, Initialize, its windows, an acquisition
// without devices, release); `acquire` runs an acquisition with devices and
// records what reaches the host's channels.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "host/acquisition.h"
#include "host/objects/host_app_object.h"
#include "host/objects/host_window.h"
#include "host/plugin_driver.h"
#include "host/plugin_module.h"
#include "platform/com_error.h"

namespace {

using namespace vexa::host;

struct Options {
    std::string command;
    std::string pluginPath = PluginModule::besideProgram();
    std::string logFolder;
    AcquisitionOptions acquisition;
};

void printUsage() {
    std::fprintf(stderr,
                 "usage: vexa-host check [--plugin FILE] [--log-dir DIR]\n"
                 "       vexa-host acquire [--device HOST:PORT]... [--settings FILE] [--setup FILE]\n"
                 "                         [--duration S] [--step-ms MS] [--out FILE.csv]\n"
                 "                         [--save-settings FILE] [--save-setup FILE]\n"
                 "                         [--plugin FILE] [--log-dir DIR]\n"
                 "  check    load the plug-in and run it once through its life\n"
                 "  acquire  acquire from the devices (without --device or --settings: from a\n"
                 "           simulated device) and write what the host records as CSV\n");
}

std::string asFolder(std::string_view text) {
    std::string folder(text);
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
    return folder;
}

// Takes the option at `i` (and its value); false for anything unknown.
bool takeOption(const std::vector<std::string_view>& arguments, std::size_t& i, Options& options) {
    const std::string_view name = arguments[i];
    if (i + 1 >= arguments.size()) return false;
    const std::string value(arguments[++i]);
    AcquisitionOptions& acquisition = options.acquisition;
    const bool acquiring = options.command == "acquire";
    if (name == "--plugin") options.pluginPath = value;
    else if (name == "--log-dir") options.logFolder = asFolder(value);
    else if (acquiring && name == "--device") acquisition.devices.push_back(value);
    else if (acquiring && name == "--settings") acquisition.settingsFile = value;
    else if (acquiring && name == "--setup") acquisition.setupFile = value;
    else if (acquiring && name == "--duration") acquisition.durationSeconds = std::strtod(value.c_str(), nullptr);
    else if (acquiring && name == "--step-ms") acquisition.stepMs = std::atoi(value.c_str());
    else if (acquiring && name == "--out") acquisition.csvFile = value;
    else if (acquiring && name == "--save-settings") acquisition.saveSettingsFile = value;
    else if (acquiring && name == "--save-setup") acquisition.saveSetupFile = value;
    else return false;
    return true;
}

bool parseOptions(const std::vector<std::string_view>& arguments, Options& options) {
    if (arguments.empty() || (arguments[0] != "check" && arguments[0] != "acquire")) return false;
    options.command = arguments[0];
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (!takeOption(arguments, i, options)) return false;
    }
    options.acquisition.pluginPath = options.pluginPath;
    options.acquisition.logFolder = options.logFolder;
    return options.acquisition.stepMs > 0 && options.acquisition.durationSeconds >= 0.0;
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
        return (options.command == "check" ? runCheck(options) : runAcquisition(options.acquisition)) ? 0 : 1;
    } catch (const vexa::ComError& error) {
        std::fprintf(stderr, "vexa-host: %s\n", error.message().c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vexa-host: %s\n", error.what());
    }
    return 1;
}
