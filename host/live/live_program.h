// `vexa-host ui`: the live page. Prints "ui on http://127.0.0.1:PORT/" as
// its first line, then serves until interrupted, on one thread: the HTTP
// and WebSocket server, the toolkit's timers, the data steps and every
// call into the plug-in.
#pragma once

#include "host/live/live_options.h"

namespace vexa::live {

// Answers the program's exit status. With neither devices nor a settings
// file it serves one simulated device on 127.0.0.1 for as long as it runs.
int runLive(const LiveOptions& options);

}  // namespace vexa::live
