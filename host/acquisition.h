// An acquisition as the host runs one: the plug-in is initialised, handed
// its settings and setup documents, asked to reconfigure, and then stepped
// on the host's clock while the host records what lands in its channels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/objects/xml_document.h"
#include "platform/com_ptr.h"

namespace vexa::host {

// The longest one device may hold up a data step: the plug-in waits this
// long for a reply (its reply time-out) before it gives the device up.
inline constexpr double kDeviceStallSeconds = 5.0;

struct AcquisitionOptions {
    std::string pluginPath;
    bool registered = false;  // create the plug-in from the registry instead

    std::vector<std::string> devices;  // "HOST:PORT"
    std::string settingsFile;          // the host's settings document to start from
    std::string setupFile;             // the host's setup document to start from
    double durationSeconds = 2.0;
    int stepMs = 100;
    // How long samples not yet recorded may grow a channel's ring before the
    // oldest are overwritten (see ChannelRing::setHoldSeconds); 0: a stalled
    // device's kDeviceStallSeconds plus the larger of half a second and
    // eight data steps.
    double bufferSeconds = 0;
    // Data steps back to back, without waiting for the next step time: how
    // fast the whole path can go (benchmarks, against free-running devices).
    bool flatOut = false;
    // Where to write the run's step figures (AcquisitionStats), if anywhere.
    std::string statsFile;
    std::string csvFile;
    std::string saveSettingsFile;
    std::string saveSetupFile;
    std::string logFolder;  // ends with a separator; empty: the system's temporary folder
    // Show an updating progress line on stdout during the run and end the
    // summary with the totals. For a terminal only: the line is redrawn
    // with carriage returns.
    bool showProgress = false;
};

// How a run went, as the host saw it.
struct AcquisitionResult {
    bool good = false;                 // every host call answered as expected
    std::vector<std::string> reports;  // what the plug-in reported to the host, in order
    std::uint64_t lost = 0;            // samples overwritten before they were recorded
    double seconds = 0;                // host time of the last data step
};

// Runs one acquisition. With neither devices nor a settings file it serves
// one simulated device on 127.0.0.1 for the time of the run.
AcquisitionResult acquireAndReport(const AcquisitionOptions& options);
// The same; true when every host call answered as expected.
inline bool runAcquisition(const AcquisitionOptions& options) {
    return acquireAndReport(options).good;
}

// A settings document listing `devices` ("HOST:PORT") the way the plug-in
// stores its device list, as if a settings window had made it. Throws
// std::invalid_argument for an entry without a port.
ComPtr<XmlDocumentObject> settingsFor(const std::vector<std::string>& devices);

}  // namespace vexa::host
