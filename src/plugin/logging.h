// The plug-in's log file.
#pragma once

#include <string>

// Starts the process-wide logger writing to `path` (narrow text in the
// system's code page). Called by every Initialize; the first path stays.
void initLogging(const std::string& path);
