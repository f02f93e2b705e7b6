// GCC 12 at -O3 reports a null dereference inside std::function when
// CLI11 moves a Validator: a false positive, raised before the warning's
// location (a system header) is looked at, so it must be off before the
// headers come in.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wnull-dereference"
#endif
#include "sim/command_line.h"

#include <cmath>
#include <limits>

namespace vexa::sim {

namespace {

constexpr long long kCountLimit = std::numeric_limits<std::uint32_t>::max();

// "a/x:unit,b": every entry needs a name; units are optional.
CLI::Validator channelListRule() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            for (const SimChannel& channel : parseChannelList(text)) {
                if (channel.fullName.empty())
                    return "'" + text + "' has a channel without a name (the list is fullname[:unit],...)";
            }
            return {};
        },
        "");
}

void addDeviceOptions(CLI::App& app, SimCommand& command) {
    SimConfig& config = command.config;
    app.add_option("--address", command.address, "listen on this loopback address (default: 127.0.0.1)")
        ->type_name("127.B.C.D")
        ->transform(cli::loopbackAddressRule());
    app.add_option("--port", command.port, "listen on this port (0, the default, lets the system choose)")
        ->type_name("N")
        ->transform(cli::integerRule(0, 65535, "a port from 0 to 65535"));
    app.add_option("--name", config.name, "the device's name")->type_name("TEXT");
    app.add_option_function<std::string>(
           "--channels", [&config](const std::string& list) { config.channels = parseChannelList(list); },
           "comma-separated fullname[:unit], e.g. Engine/Speed:rpm,Torque:Nm")
        ->type_name("LIST")
        ->transform(channelListRule());
    app.add_option("--rate", config.sampleRate, "records per second of device time (default: 100)")
        ->type_name("HZ")
        ->transform(cli::realRule([](double hz) { return hz > 0 && hz <= 1e6; },
                                  "a rate in Hz above 0 and at most 1000000"));
    app.add_option("--offset", config.clockOffset, "device clock at start, in seconds (default: 1000)")
        ->type_name("S")
        ->transform(cli::realRule([](double s) { return std::abs(s) <= 2e9; },
                                  "a number of seconds from -2000000000 to 2000000000"));
    app.add_option("--drift", config.driftPpm, "device clock runs fast by this many parts per million")
        ->type_name("PPM")
        ->transform(cli::realRule([](double ppm) { return std::abs(ppm) <= 1e5; },
                                  "a drift in ppm from -100000 to 100000"));
    app.add_option("--devices", config.devices,
                   "serve N devices, each on its own port (after --port, or chosen by the system)")
        ->type_name("N")
        ->transform(cli::integerRule(1, 1000, "a count from 1 to 1000"));
    app.add_flag("--free-run", config.freeRun,
                 "every OMP? finds 10 ms of records ready, however little time passed (for benchmarks)");
    app.add_option("--exit-after", command.exitAfterSeconds, "stop serving after S seconds")
        ->type_name("S")
        ->transform(cli::realRule([](double s) { return s > 0; }, "a number of seconds above 0"));
}

void addFaultOptions(CLI::App& app, Faults& faults) {
    const std::string group = "Faults";
    app.add_flag("--refuse-run", faults.refuseRun, "answer RUN with a refusal")->group(group);
    app.add_flag("--refuse-stop", faults.refuseStop, "answer STOP with a refusal")->group(group);
    app.add_flag("--short-replies", faults.shortReplies, "status and count replies one byte short")->group(group);
    app.add_flag("--long-replies", faults.longReplies, "status and count replies one byte long")->group(group);
    app.add_flag("--oversized-length", faults.oversizedLength, "framed replies announce ~2 GiB")->group(group);
    app.add_flag("--close-mid-block", faults.closeMidBlock, "hang up halfway through a record block")->group(group);
    app.add_option("--bad-status-every", faults.badStatusEvery, "every Nth record has status '1'")
        ->type_name("N")
        ->transform(cli::integerRule(1, kCountLimit, "a count from 1 to 4294967295"))
        ->group(group);
    app.add_option_function<std::uint32_t>(
           "--stall-after", [&faults](const std::uint32_t& n) { faults.stallAfter = n; },
           "answer N commands, then none")
        ->type_name("N")
        ->transform(cli::integerRule(0, kCountLimit, "a count from 0 to 4294967295"))
        ->group(group);
    app.add_option_function<std::uint32_t>(
           "--close-after", [&faults](const std::uint32_t& n) { faults.closeAfter = n; },
           "answer N commands, then hang up")
        ->type_name("N")
        ->transform(cli::integerRule(0, kCountLimit, "a count from 0 to 4294967295"))
        ->group(group);
    app.add_option_function<std::string>(
           "--fault-phase", [&faults](const std::string& name) { faults.phase = phaseNamed(name); },
           "strike only at identify, channels, start, data (counts and blocks), blocks or stop (default: everywhere)")
        ->type_name("PHASE")
        ->transform(CLI::Validator(
            [](std::string& name) -> std::string {
                if (phaseNamed(name)) return {};
                return "'" + name + "' is not one of identify, channels, start, data, blocks, stop";
            },
            ""))
        ->group(group);
    app.add_option("--trickle", faults.tricklePiece, "send replies in pieces of BYTES")
        ->type_name("BYTES")
        ->transform(cli::integerRule(1, 1 << 20, "a piece size in bytes from 1 to 1048576"))
        ->group(group);
}

}  // namespace

cli::ParseOutcome readCommandLine(const std::vector<std::string>& arguments, SimCommand& command) {
    command = SimCommand{};
    CLI::App app("A simulated Vexa device on a loopback address, until interrupted.", "vexa-sim");
    cli::prepare(app);
    addDeviceOptions(app, command);
    addFaultOptions(app, command.config.faults);
    return cli::parse(app, arguments);
}

}  // namespace vexa::sim
