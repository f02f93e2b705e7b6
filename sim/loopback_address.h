// Loopback IPv4 addresses as the programs accept them. The simulator and the
// reference host only ever talk over loopback: a device on 127.x.y.z can be
// given a fixed port without colliding with another test's device.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vexa::sim {

// "127.B.C.D" as a host-order address. All four parts are required, each a
// decimal from 0 to 255 without leading zeros (so "010" is never read as
// octal the way inet_aton would); anything outside 127.0.0.0/8 is refused.
std::optional<std::uint32_t> parseLoopbackAddress(std::string_view text);

}  // namespace vexa::sim
