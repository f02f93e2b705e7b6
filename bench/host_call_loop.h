// The loop of host calls alone, in a file that sees only the host's
// interface: the calls stay indirect, as they are from the plug-in module.
#pragma once

#include <cstddef>

#include "contract/host_channels.h"

namespace vexa::bench {

void writeTimedSamples(HostChannel* const* channels, std::size_t channelCount, std::size_t values);

}  // namespace vexa::bench
