#include "host/acquisition.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <thread>

#include "host/acquisition_stats.h"
#include "host/objects/host_app_object.h"
#include "host/objects/xml_document.h"
#include "host/plugin_driver.h"
#include "host/plugin_module.h"
#include "host/progress_line.h"
#include "host/sample_recorder.h"
#include "sim/simulator.h"

namespace vexa::host {

namespace {

using Clock = std::chrono::steady_clock;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool expect(const char* step, HRESULT answer, HRESULT expected = S_OK) {
    if (answer == expected) return true;
    std::fprintf(stderr, "host: %s answered 0x%08X\n", step, static_cast<unsigned>(answer));
    return false;
}

bool handDocument(const PluginDriver& plugin, HostEventId event, XmlDocumentObject& document, bool saving) {
    Variant result;
    const HRESULT answer = plugin.documentEvent(event, &document, &document.root(), saving, result);
    return expect(event == HostEvent::SettingsDocument ? "settings document" : "setup document", answer);
}

bool saveDocument(const PluginDriver& plugin, HostEventId event, const char* root, const std::string& file) {
    if (file.empty()) return true;
    auto document = XmlDocumentObject::create(root);
    const bool good = handDocument(plugin, event, *document, true);
    document->save(file);
    return good;
}

// The plug-in's reports since `from`, on stderr as the host object would
// have echoed them.
void printReports(const HostAppObject& app, std::size_t& from) {
    for (; from < app.reportedErrors().size(); ++from)
        std::fprintf(stderr, "host: %s\n", app.reportedErrors()[from].c_str());
}

// The host's rings hold what arrives between two looks of the recorder:
// unread samples grow them for this long before the oldest are overwritten.
// A healthy run needs a step or two. A device that stops answering holds
// up a whole data step for up to the plug-in's reply time-out, and the
// other devices' samples of that time then arrive in one step: the rings
// hold that much more, so a stalled device costs the healthy ones nothing.
double holdSeconds(const AcquisitionOptions& options) {
    if (options.bufferSeconds > 0) return options.bufferSeconds;
    return kDeviceStallSeconds + std::max(0.5, 8 * options.stepMs / 1000.0);
}

// Before the run every channel's ring gets its share of this much memory
// (16 bytes a sample: value and time stamp), within the bounds below. The
// host does not know the devices' rates, but fewer channels can take
// faster samples: 256 channels get 65536 samples (0.65 s at 100 kHz), 32
// channels 524288 (0.5 s at 1 MHz), 2048 channels 8192 (0.8 s at 10 kHz).
// A ring that grows in the middle of a run takes fresh memory, which on a
// virtual machine can take longer to map than its samples took to arrive,
// and a host that fell behind would fall further; sized up front, a healthy
// run never grows one.
constexpr std::size_t kRingBudgetBytes = std::size_t{256} << 20;
constexpr LONG kShortestRing = 4096;
constexpr LONG kLongestInitialRing = LONG{1} << 20;

void sizeRings(const ChannelGroupObject& group) {
    const std::size_t channels = std::max<std::size_t>(group.channels().size(), 1);
    const auto share = static_cast<LONG>(std::clamp<std::size_t>(kRingBudgetBytes / (16 * channels), kShortestRing,
                                                                 kLongestInitialRing));
    for (const ChannelPtr& channel : group.channels()) {
        if (channel->bufferLength() < share) channel->setBufferLength(share);
    }
}

// Steps the plug-in on a host clock that follows real time from the start;
// `seconds` is the host time of the last step. With a progress line the
// host echoes the plug-in's reports itself, after clearing the line, so a
// report never lands in the middle of it.
bool acquire(const PluginDriver& plugin, HostAppObject& app, ChannelGroupObject& group,
             const AcquisitionOptions& options, SampleRecorder& recorder, AcquisitionStats& stats, double& seconds) {
    ProgressLine line(options.showProgress ? stdout : nullptr);
    ProgressTracker progress;
    std::size_t reportsShown = app.reportedErrors().size();
    bool good = expect("PrepareAcquisition", plugin.prepareAcquisition());
    good &= expect("StartAcquisition", plugin.startAcquisition());
    const auto start = Clock::now();
    const auto step = std::chrono::milliseconds(options.stepMs);
    app.setEchoReports(!options.showProgress);
    for (auto next = start + step;; next += step) {
        if (!options.flatOut) std::this_thread::sleep_until(next);
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
        app.clock()->setTime(seconds);
        stats.beginStep(seconds, recorder.total());
        const HRESULT read = plugin.readData();
        stats.afterPlugin();
        recorder.collect(group);
        stats.endStep(recorder.total());
        if (options.showProgress) {
            if (read != S_OK || app.reportedErrors().size() > reportsShown) line.clear();
            printReports(app, reportsShown);
        }
        good &= expect("ReadData", read);
        if (options.showProgress)
            line.show(progressText(
                progress.update(seconds, recorder, group.channels().size(), app.reportedErrors().size())));
        if (seconds >= options.durationSeconds) break;
    }
    line.clear();
    app.setEchoReports(true);
    good &= expect("StopAcquisition", plugin.stopAcquisition());
    return good;
}

void writeStats(const AcquisitionStats& stats, const SampleRecorder& recorder, const HostAppObject& app,
                const ChannelGroupObject& group, const std::string& file) {
    if (file.empty()) return;
    const File out(std::fopen(file.c_str(), "w"));
    if (!out) throw std::runtime_error("cannot write " + file);
    long ring = 0;
    for (const ChannelPtr& channel : group.channels()) ring = std::max<long>(ring, channel->bufferLength());
    stats.write(out.get(), recorder.lost(), app.reportedErrors().size(), ring);
}

void printSummary(const SampleRecorder& recorder, const AcquisitionOptions& options, double seconds) {
    ProgressFigures totals;
    totals.seconds = seconds;
    totals.lost = recorder.lost();
    for (const auto& [channel, count] : recorder.counts()) {
        std::printf("%-32s %8llu samples\n", channel.c_str(), static_cast<unsigned long long>(count));
        totals.values += count;
    }
    if (recorder.counts().empty()) std::printf("no samples were recorded\n");
    if (recorder.lost() != 0)
        std::fprintf(stderr, "host: %llu samples were overwritten before they were recorded\n",
                     static_cast<unsigned long long>(recorder.lost()));
    if (options.showProgress) std::printf("%s\n", totalsText(totals).c_str());
}

}  // namespace

AcquisitionResult acquireAndReport(const AcquisitionOptions& options) {
    std::unique_ptr<sim::Simulator> simulator;
    std::vector<std::string> devices = options.devices;
    if (devices.empty() && options.settingsFile.empty()) {
        simulator = std::make_unique<sim::Simulator>(sim::SimConfig{});
        devices.push_back("127.0.0.1:" + std::to_string(simulator->port()));
        std::printf("simulated device on %s\n", devices.back().c_str());
    }

    File csv;
    if (!options.csvFile.empty()) {
        csv.reset(std::fopen(options.csvFile.c_str(), "w"));
        if (!csv) throw std::runtime_error("cannot write " + options.csvFile);
    }
    SampleRecorder recorder(csv.get());
    // The first second (or fifth of a shorter run) is not measured: the
    // plug-in and the host size their buffers then.
    AcquisitionStats stats(std::min(1.0, options.durationSeconds / 5),
                           static_cast<std::size_t>(options.durationSeconds * 1000 / options.stepMs) + 1);

    const PluginSource source(options.pluginPath, options.registered);
    AcquisitionResult result;
    bool good = true;
    double seconds = 0;
    {
        auto app = makeHostObject<HostAppObject>();
        if (!options.logFolder.empty()) app->setLogFolder(options.logFolder);
        ChannelGroupObject& group = *app->dataObject()->modelObject()->channelGroup();
        group.setHoldSeconds(holdSeconds(options));
        PluginDriver plugin(source.create());
        good &= expect("Initialize", plugin.initialize(app.get()));

        auto settings = options.settingsFile.empty() ? settingsFor(devices)
                                                     : XmlDocumentObject::load(options.settingsFile);
        good &= handDocument(plugin, HostEvent::SettingsDocument, *settings, false);
        Variant ignored;
        good &= expect("reconfigure", plugin.event(HostEvent::Reconfigure, ignored), S_FALSE);
        if (options.setupFile.empty()) {
            good &= expect("NewSetup", plugin.newSetup());
        } else {
            good &= handDocument(plugin, HostEvent::SetupDocument, *XmlDocumentObject::load(options.setupFile), false);
        }

        sizeRings(group);
        good &= acquire(plugin, *app, group, options, recorder, stats, seconds);
        writeStats(stats, recorder, *app, group, options.statsFile);
        good &= saveDocument(plugin, HostEvent::SettingsDocument, "HostSettings", options.saveSettingsFile);
        good &= saveDocument(plugin, HostEvent::SetupDocument, "HostSetup", options.saveSetupFile);
        result.reports = app->reportedErrors();
    }

    printSummary(recorder, options, seconds);
    result.good = good;
    result.lost = recorder.lost();
    result.seconds = seconds;
    return result;
}

ComPtr<XmlDocumentObject> settingsFor(const std::vector<std::string>& devices) {
    auto document = XmlDocumentObject::create("HostSettings");
    auto list = document->createElement("VexaDevicesSettings", "");
    for (const std::string& device : devices) {
        const auto colon = device.rfind(':');
        if (colon == std::string::npos) throw std::invalid_argument("a device is HOST:PORT, not " + device);
        auto entry = document->createElement("VexaDeviceSettings", "");
        document->writeValue(*entry, "IpAddress", device.substr(0, colon), "");
        document->writeValue(*entry, "PortNumber", device.substr(colon + 1), "0");
        document->writeValue(*entry, "DeviceName", "Unknown Vexa device", "");
        list->appendChild(entry);
    }
    document->root().appendChild(list);
    return document;
}

}  // namespace vexa::host
