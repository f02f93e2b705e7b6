// What `vexa-host ui` is given on its command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vexa::live {

struct LiveOptions {
    std::string pluginPath;
    bool registered = false;  // create the plug-in from the registry instead
    std::uint16_t port = 0;   // 0: the system chooses
    std::vector<std::string> devices;  // "HOST:PORT"
    std::string settingsFile;          // the host's settings document to start from
    std::string setupFile;             // the host's setup document to start from
    std::string logFolder;  // ends with a separator; empty: the system's temporary folder
};

}  // namespace vexa::live
