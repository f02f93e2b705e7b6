// vexa-host: the reference host. `check` takes the plug-in through one life
// as the host would (creation, Initialize, its windows in the toolkit with
// the host's sequence around them, an acquisition without devices,
// release); `acquire` runs an acquisition with devices and records what
// reaches the host's channels; `ui` serves all of it as a live page.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "host/acquisition.h"
#include "host/command_line.h"
#include "host/live/live_program.h"
#include "host/objects/host_app_object.h"
#include "host/plugin_driver.h"
#include "host/plugin_module.h"
#include "host/progress_line.h"
#include "host/window_session.h"
#include "platform/com_error.h"

namespace {

using namespace vexa::host;
namespace kite = vexa::kite;

// Prints one step and tells whether it gave the expected answer.
bool step(const char* name, HRESULT answer, HRESULT expected = S_OK) {
    std::printf("%-22s 0x%08X%s\n", name, static_cast<unsigned>(answer), answer == expected ? "" : "  (unexpected)");
    return answer == expected;
}

bool runCheck(const HostCommand& options) {
    const PluginSource source(options.pluginPath, options.registered);
    std::printf("%s %s\n", options.registered ? "created from the registry:" : "loaded",
                options.registered ? "Vexa" : options.pluginPath.c_str());
    bool good = true;
    {
        auto app = makeHostObject<HostAppObject>();
        if (!options.logFolder.empty()) app->setLogFolder(options.logFolder);
        kite::UiClock uiClock;
        PluginDriver plugin(source.create());
        good &= step("Initialize", plugin.initialize(app.get()));
        {
            WindowSession windows(plugin, uiClock, [](const char* name, HRESULT answer, HRESULT expected) {
                step(name, answer, expected);
            });
            good &= windows.open(WindowKind::Settings);
            good &= windows.close(WindowKind::Settings);
            good &= windows.open(WindowKind::Setup);
            good &= windows.open(WindowKind::Analysis);
            good &= step("PrepareAcquisition", plugin.prepareAcquisition());
            good &= step("StartAcquisition", plugin.startAcquisition());
            for (int i = 1; i <= 3; ++i) {
                app->clock()->setTime(0.1 * i);
                good &= step("ReadData", plugin.readData());
                uiClock.advance(100);
            }
            good &= step("StopAcquisition", plugin.stopAcquisition());
            good &= windows.close(WindowKind::Setup);
            good &= windows.close(WindowKind::Analysis);
        }
    }
    if (const PluginModule* module = source.module()) good &= step("DllCanUnloadNow", module->canUnloadNow());
    return good;
}

}  // namespace

int main(int argc, char** argv) {
    HostCommand command;
    const vexa::cli::ParseOutcome parsed = readCommandLine({argv + 1, argv + argc}, command);
    if (!parsed.run) {
        std::fputs(parsed.out.c_str(), stdout);
        if (!parsed.error.empty()) std::fprintf(stderr, "%s\n", parsed.error.c_str());
        return parsed.status;
    }
    command.acquisition.showProgress = isTerminal(stdout);
    try {
        switch (command.kind) {
        case HostCommand::Kind::Check: return runCheck(command) ? 0 : 1;
        case HostCommand::Kind::Acquire: return runAcquisition(command.acquisition) ? 0 : 1;
        case HostCommand::Kind::Ui: return vexa::live::runLive(command.live);
        }
    } catch (const vexa::ComError& error) {
        std::fprintf(stderr, "vexa-host: %s\n", error.message().c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vexa-host: %s\n", error.what());
    }
    return 1;
}
