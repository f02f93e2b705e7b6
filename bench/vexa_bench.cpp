// vexa-bench: the data path end to end. For each configuration, simulator
// processes serve the devices over loopback and vexa-host drives the
// plug-in on its 10 ms data-step clock, recording every value; then, against
// free-running devices, a raw reader (the same bytes, received and
// discarded) and vexa-host flat out show what the transport allows and how
// much of it the path takes. Prints one Markdown table.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "host_call_floor.h"
#include "raw_reader.h"

namespace {

namespace fs = std::filesystem;
using namespace vexa::bench;

struct Configuration {
    std::string name;
    std::size_t devices;
    std::size_t channels;  // per device
    double rate;           // records per second per device
    std::size_t simulatorProcesses;
    double offered() const { return static_cast<double>(devices * channels) * rate; }
};

const std::vector<Configuration> kConfigurations = {
    {"1 × 4 ch × 1 kHz", 1, 4, 1e3, 1},
    {"1 × 32 ch × 1 MHz", 1, 32, 1e6, 1},
    {"1 × 256 ch × 100 kHz", 1, 256, 1e5, 1},
    {"64 × 32 ch × 10 kHz", 64, 32, 1e4, 2},
};

struct Options {
    double seconds = 10;         // each paced run
    double capacitySeconds = 3;  // each flat-out run
    std::string only;            // configurations whose name holds this
    fs::path bin;                // where vexa-sim and vexa-host are
};

using Figures = std::map<std::string, double>;

struct Result {
    Figures paced;
    Figures flatOut;
    RawRate raw;
    double floorNs = 0;
    std::vector<std::string> hostErrors;
};

std::vector<std::string> channelNames(std::size_t count) {
    std::vector<std::string> names;
    for (std::size_t k = 0; k < count; ++k) names.push_back("Bench/Ch" + std::to_string(k));
    return names;
}

// The simulator processes of a configuration and the ports of its devices.
struct Simulators {
    std::vector<std::unique_ptr<ChildProcess>> processes;
    std::vector<std::uint16_t> ports;

    Simulators(const Options& options, const Configuration& c, bool freeRun) {
        std::string list;
        for (const std::string& name : channelNames(c.channels)) list += (list.empty() ? "" : ",") + name + ":V";
        for (std::size_t p = 0; p < c.simulatorProcesses; ++p) {
            const std::size_t devices = c.devices / c.simulatorProcesses + (p < c.devices % c.simulatorProcesses);
            std::vector<std::string> arguments = {"--devices", std::to_string(devices), "--channels", list,
                                                  "--rate", std::to_string(c.rate)};
            if (freeRun) arguments.push_back("--free-run");
            auto& process = processes.emplace_back(
                std::make_unique<ChildProcess>((options.bin / "vexa-sim").string(), arguments, true));
            std::string line;
            for (std::size_t d = 0; d < devices && process->readLine(line); ++d)
                ports.push_back(static_cast<std::uint16_t>(std::stoi(line.substr(line.rfind(':') + 1))));
        }
        if (ports.size() != c.devices) throw std::runtime_error("the simulators did not start");
    }
};

Figures readFigures(const fs::path& file) {
    Figures figures;
    std::ifstream in(file);
    std::string name;
    double value = 0;
    while (in >> name >> value) figures[name] = value;
    return figures;
}

std::vector<std::string> readLines(const fs::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// vexa-host acquiring from `ports` for `seconds`; its step figures.
Figures runHost(const Options& options, const fs::path& work, const std::vector<std::uint16_t>& ports, double seconds,
                bool flatOut, std::vector<std::string>* errors) {
    const fs::path stats = work / "stats.txt";
    const fs::path err = work / "host-errors.txt";
    std::vector<std::string> arguments = {"acquire", "--duration", std::to_string(seconds), "--step-ms", "10",
                                          "--stats", stats.string(), "--log-dir", work.string()};
    for (const std::uint16_t port : ports) {
        arguments.push_back("--device");
        arguments.push_back("127.0.0.1:" + std::to_string(port));
    }
    if (flatOut) arguments.push_back("--flat-out");
    fs::remove(stats);
    ChildProcess host((options.bin / "vexa-host").string(), arguments, false, "/dev/null", err.string());
    const int status = host.wait();
    if (errors != nullptr) *errors = readLines(err);
    if (status != 0 && errors != nullptr) errors->push_back("vexa-host exited with status " + std::to_string(status));
    return readFigures(stats);
}

Result measure(const Options& options, const fs::path& work, const Configuration& c) {
    Result result;
    {
        const Simulators paced(options, c, false);
        result.paced = runHost(options, work, paced.ports, options.seconds, false, &result.hostErrors);
    }
    // The host calls alone, in the pattern and into rings like the run's.
    const auto records = static_cast<std::size_t>(c.rate / 100);
    const long ring = result.paced.count("ring_samples") ? static_cast<long>(result.paced.at("ring_samples")) : 4096;
    result.floorNs = hostCallFloorNanoseconds(c.devices, c.channels, std::max<std::size_t>(records, 1), ring, 20'000'000);
    const Simulators freeRunning(options, c, true);
    result.raw = readRaw(freeRunning.ports, channelNames(c.channels), options.capacitySeconds);
    result.flatOut = runHost(options, work, freeRunning.ports, options.capacitySeconds, true, nullptr);
    return result;
}

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string millions(double perSecond) { return fixed(perSecond / 1e6, perSecond < 1e6 ? 3 : 2); }

double perValue(const Figures& f, const char* seconds) {
    return f.count("values") && f.at("values") > 0 ? f.at(seconds) * 1e9 / f.at("values") : 0;
}
double rateOf(const Figures& f) { return f.count("seconds") && f.at("seconds") > 0 ? f.at("values") / f.at("seconds") : 0; }
double perStep(const Figures& f, const char* what) { return f.count("steps") && f.at("steps") > 0 ? f.at(what) / f.at("steps") : 0; }

std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

void printRow(const Configuration& c, const Result& r) {
    const Figures& p = r.paced;
    const double plugin = perValue(p, "plugin_cpu_seconds");
    const double delivered = rateOf(p);
    const double flatOut = rateOf(r.flatOut);
    const double raw = r.raw.valuesPerSecond();
    std::printf("| %s | %s | %s | %.0f | %s | %s | %s | %s | %s / %s | %s / %s | %s | %s | %s |\n", c.name.c_str(),
                millions(c.offered()).c_str(), millions(delivered).c_str(), p.count("lost") ? p.at("lost") : -1,
                fixed(perValue(p, "process_cpu_seconds"), 1).c_str(), fixed(plugin, 1).c_str(),
                fixed(r.floorNs, 1).c_str(), fixed(r.floorNs > 0 ? plugin / r.floorNs : 0, 2).c_str(),
                fixed(perStep(p, "plugin_allocations"), 2).c_str(), fixed(perStep(p, "host_allocations"), 2).c_str(),
                fixed(p.count("step_p50_ms") ? p.at("step_p50_ms") : 0, 2).c_str(),
                fixed(p.count("step_p99_ms") ? p.at("step_p99_ms") : 0, 2).c_str(), millions(raw).c_str(),
                millions(flatOut).c_str(), fixed(raw > 0 ? flatOut / raw : 0, 2).c_str());
}

// Where the path takes less than half of what the raw reader reaches, what
// the path spends its time on.
void printNote(const Configuration& c, const Result& r) {
    const double raw = r.raw.valuesPerSecond();
    const double flatOut = rateOf(r.flatOut);
    if (raw <= 0 || flatOut / raw >= 0.5) return;
    std::printf("- %s: flat out the path delivers %.2f of the raw rate. vexa-host spends %s ns of CPU per value "
                "(the plug-in %s ns, of which the six host calls per value alone take %s ns); the raw reader "
                "spends %s ns of wall time per value receiving.\n",
                c.name.c_str(), flatOut / raw, fixed(perValue(r.flatOut, "process_cpu_seconds"), 1).c_str(),
                fixed(perValue(r.flatOut, "plugin_cpu_seconds"), 1).c_str(), fixed(r.floorNs, 1).c_str(),
                fixed(1e9 / raw, 1).c_str());
}

Options readOptions(int argc, char** argv) {
    Options options;
    options.bin = fs::canonical("/proc/self/exe").parent_path();
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--seconds" && hasValue) options.seconds = std::stod(argv[++i]);
        else if (option == "--capacity-seconds" && hasValue) options.capacitySeconds = std::stod(argv[++i]);
        else if (option == "--only" && hasValue) options.only = argv[++i];
        else {
            const bool help = option == "--help" || option == "-h";
            std::fprintf(help ? stdout : stderr,
                         "usage: vexa-bench [--seconds S] [--capacity-seconds S] [--only TEXT]\n"
                         "  --seconds S           each paced run (default 10)\n"
                         "  --capacity-seconds S  each flat-out run and raw read (default 3)\n"
                         "  --only TEXT           only the configurations whose name holds TEXT\n");
            std::exit(help ? 0 : 2);
        }
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = readOptions(argc, argv);
    char pattern[] = "/tmp/vexa-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return 1;
    const fs::path work = pattern;

    std::printf("vexa-bench: %.0f s paced runs at 10 ms data steps, %.0f s flat out; load average before: %s\n\n",
                options.seconds, options.capacitySeconds, loadAverage().c_str());
    std::printf("| configuration | offered M values/s | delivered M values/s | samples lost | host CPU ns/value | "
                "plug-in ns/value | host-call floor ns/value | plug-in ÷ floor | allocations per step: plug-in / host | "
                "step p50 / p99 ms | raw reader M values/s | path flat out M values/s | delivered/raw |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    std::fflush(stdout);
    std::vector<std::pair<Configuration, Result>> results;
    int status = 0;
    for (const Configuration& c : kConfigurations) {
        if (c.name.find(options.only) == std::string::npos) continue;
        try {
            results.emplace_back(c, measure(options, work, c));
            printRow(c, results.back().second);
            std::fflush(stdout);
        } catch (const std::exception& error) {
            std::printf("| %s | failed: %s |\n", c.name.c_str(), error.what());
            status = 1;
        }
    }
    std::printf("\nload average after: %s\n", loadAverage().c_str());
    for (const auto& [c, r] : results) {
        printNote(c, r);
        for (const std::string& line : r.hostErrors) std::printf("- %s: %s\n", c.name.c_str(), line.c_str());
    }
    fs::remove_all(work);
    return status;
}
