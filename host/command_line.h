// vexa-host's command line: the commands, their options and the rules each
// value must meet, apart from running anything.
#pragma once

#include <string>
#include <vector>

#include "host/acquisition.h"
#include "host/live/live_options.h"
#include "sim/option_rules.h"

namespace vexa::host {

struct HostCommand {
    enum class Kind { Check, Acquire, Ui };
    Kind kind = Kind::Check;
    std::string pluginPath;
    // Create the plug-in by its class identifier from the registry, as the
    // real host does, instead of loading the file (Windows).
    bool registered = false;
    std::string logFolder;  // ends with a separator; empty: the system's temporary folder
    // For `acquire` and `ui`; their plug-in path and log folder are the
    // two above.
    AcquisitionOptions acquisition;
    live::LiveOptions live;
};

// Reads `arguments` (without the program name) into `command`.
cli::ParseOutcome readCommandLine(const std::vector<std::string>& arguments, HostCommand& command);

}  // namespace vexa::host
