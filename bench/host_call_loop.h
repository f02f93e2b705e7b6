// The loop of host calls alone, in a file that sees only the host's
// interface: the calls stay indirect, as they are from the plug-in module.
#pragma once

#include <cstddef>

#include "contract/host_channels.h"

namespace vexa::bench {

// Writes `values` timed samples the way data steps reach the host: the
// channels come in groups of `perDevice` (one group a device), and each
// group takes `records` records, every record a sample for each of its
// channels, before the next group's turn.
void writeTimedSamples(HostChannel* const* channels, std::size_t channelCount, std::size_t perDevice,
                       std::size_t records, std::size_t values);

}  // namespace vexa::bench
