// GCC 12 at -O3 reports a null dereference inside std::function when
// CLI11 moves a Validator: a false positive, raised before the warning's
// location (a system header) is looked at, so it must be off before the
// headers come in.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wnull-dereference"
#endif
#include "host/command_line.h"

#include "host/plugin_module.h"

namespace vexa::host {

namespace {

std::string asFolder(std::string folder) {
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
    return folder;
}

// What both commands take: which module to load and where its log goes.
void addModuleOptions(CLI::App& command, HostCommand& options) {
    command.add_option("--plugin", options.pluginPath, "the plug-in module (default: the one beside this program)")
        ->type_name("FILE")
        ->transform(cli::existingFileRule());
    command.add_flag("--registered", options.registered,
                     "create the plug-in by its class identifier from the registry, as the host does (Windows)");
    command.add_option("--log-dir", options.logFolder, "the plug-in's log folder (default: the temporary folder)")
        ->type_name("DIR")
        ->transform(cli::existingFolderRule());
}

void addAcquireOptions(CLI::App& command, AcquisitionOptions& options) {
    command.add_option("--device", options.devices, "a device to acquire from; repeat for more")
        ->type_name("HOST:PORT")
        ->transform(cli::loopbackEndpointRule())
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    command.add_option("--settings", options.settingsFile, "a host settings document to start from")
        ->type_name("FILE")
        ->transform(cli::existingFileRule());
    command.add_option("--setup", options.setupFile, "a host setup document to start from")
        ->type_name("FILE")
        ->transform(cli::existingFileRule());
    command.add_option("--duration", options.durationSeconds, "seconds of acquisition (default: 2)")
        ->type_name("S")
        ->transform(cli::realRule([](double s) { return s > 0; }, "a number of seconds above 0"));
    command.add_option("--step-ms", options.stepMs, "milliseconds between two data steps (default: 100)")
        ->type_name("MS")
        ->transform(cli::integerRule(1, 60'000, "a whole number of milliseconds from 1 to 60000"));
    command.add_option("--buffer-seconds", options.bufferSeconds,
                       "how long unrecorded samples may grow a channel's buffer before the oldest are overwritten "
                       "(default: 5, what one stalled device can hold up a step, plus 0.5 or eight data steps if longer)")
        ->type_name("S")
        ->transform(cli::realRule([](double s) { return s > 0 && s <= 3600; }, "a number of seconds above 0, at most 3600"));
    command.add_flag("--flat-out", options.flatOut, "data steps back to back, without waiting for the step time");
    command.add_option("--stats", options.statsFile,
                       "write the run's step figures (duration, CPU time, allocations) to FILE, one per line")
        ->type_name("FILE")
        ->transform(cli::newFileRule());
    command.add_option("--out", options.csvFile, "write every recorded sample as CSV: channel,time,value")
        ->type_name("FILE.csv")
        ->transform(cli::newFileRule());
    command.add_option("--save-settings", options.saveSettingsFile, "save the plug-in's settings document after the run")
        ->type_name("FILE")
        ->transform(cli::newFileRule());
    command.add_option("--save-setup", options.saveSetupFile, "save the plug-in's setup document after the run")
        ->type_name("FILE")
        ->transform(cli::newFileRule());
}

void addUiOptions(CLI::App& command, live::LiveOptions& options) {
    command.add_option("--port", options.port, "serve the page on this port of 127.0.0.1 (default: any free port)")
        ->type_name("N")
        ->transform(cli::integerRule(0, 65535, "a port from 0 to 65535"));
    command.add_option("--device", options.devices, "a device to start with; repeat for more")
        ->type_name("HOST:PORT")
        ->transform(cli::loopbackEndpointRule())
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    command.add_option("--settings", options.settingsFile, "a host settings document to start from")
        ->type_name("FILE")
        ->transform(cli::existingFileRule());
    command.add_option("--setup", options.setupFile, "a host setup document to start from")
        ->type_name("FILE")
        ->transform(cli::existingFileRule());
}

}  // namespace

cli::ParseOutcome readCommandLine(const std::vector<std::string>& arguments, HostCommand& command) {
    command = HostCommand{};
    command.pluginPath = PluginModule::besideProgram();

    CLI::App app("The reference host of the Vexa plug-in.", "vexa-host");
    cli::prepare(app);
    app.require_subcommand(1);
    CLI::App* check = app.add_subcommand("check", "load the plug-in and take it once through its life");
    CLI::App* acquire = app.add_subcommand(
        "acquire",
        "acquire from the devices through the plug-in (without --device or --settings: from a simulated "
        "device) and report what the host recorded");
    CLI::App* ui = app.add_subcommand(
        "ui",
        "serve the plug-in's windows, acquisitions and a live plot as a page on 127.0.0.1 until interrupted "
        "(without --device or --settings: with a simulated device)");
    addModuleOptions(*check, command);
    addModuleOptions(*acquire, command);
    addModuleOptions(*ui, command);
    addAcquireOptions(*acquire, command.acquisition);
    addUiOptions(*ui, command.live);

    cli::ParseOutcome outcome = cli::parse(app, arguments);
    if (!outcome.run) return outcome;
    command.kind = acquire->parsed() ? HostCommand::Kind::Acquire
                   : ui->parsed()    ? HostCommand::Kind::Ui
                                     : HostCommand::Kind::Check;
    command.logFolder = asFolder(command.logFolder);
    command.acquisition.pluginPath = command.pluginPath;
    command.acquisition.registered = command.registered;
    command.acquisition.logFolder = command.logFolder;
    command.live.pluginPath = command.pluginPath;
    command.live.registered = command.registered;
    command.live.logFolder = command.logFolder;
    return outcome;
}

}  // namespace vexa::host
