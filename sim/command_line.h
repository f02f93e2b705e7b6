// vexa-sim's command line: the device it simulates, where it listens and
// the faults it shows, apart from running anything.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/device_model.h"
#include "sim/option_rules.h"

namespace vexa::sim {

struct SimCommand {
    SimConfig config;
    std::string address = "127.0.0.1";
    std::uint16_t port = 0;  // 0: the system chooses
    double exitAfterSeconds = 0;  // 0: serve until interrupted
};

// Reads `arguments` (without the program name) into `command`.
cli::ParseOutcome readCommandLine(const std::vector<std::string>& arguments, SimCommand& command);

}  // namespace vexa::sim
