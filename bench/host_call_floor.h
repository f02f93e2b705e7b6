// The floor of the per-value path: the six host calls one timed sample
// needs (used?, value size, write position, sample buffer, time buffer,
// advance) and the two stores between them, against the reference host's
// channels, with nothing of the plug-in around them.
#pragma once

#include <cstddef>

namespace vexa::bench {

// CPU nanoseconds per value over `values` values, written the way the run's
// data steps write them: `devices` devices of `channels` channels, blocks of
// `records` records, into rings of `ringSamples` samples as the host made
// them.
double hostCallFloorNanoseconds(std::size_t devices, std::size_t channels, std::size_t records, long ringSamples,
                                std::size_t values);

}  // namespace vexa::bench
