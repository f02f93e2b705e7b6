// The channel list text of a CFG? reply, as any device may send it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "device/configuration.h"

namespace {

// A split that loses or invents characters would bind stored setups to
// the wrong channels.
void checkSplit(const ConfiguredChannel& channel) {
    if (channel.group == "allChannels" && channel.name == channel.fullName) return;
    if (channel.group.size() + 1 + channel.name.size() != channel.fullName.size()) std::abort();
    if (channel.fullName.compare(0, channel.group.size(), channel.group) != 0) std::abort();
    if (channel.fullName.compare(channel.group.size() + 1, std::string::npos, channel.name) != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::uint32_t expected = 0;
    for (const ConfiguredChannel& channel : parseConfiguration(text)) {
        if (channel.index != ++expected) std::abort();
        checkSplit(channel);
    }
    return 0;
}
