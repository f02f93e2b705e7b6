#include "sim/loopback_address.h"

#include <charconv>

namespace vexa::sim {

std::optional<std::uint32_t> parseLoopbackAddress(std::string_view text) {
    std::uint32_t address = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (text.empty() || text.front() != '.') return std::nullopt;
            text.remove_prefix(1);
        }
        unsigned value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        const auto length = static_cast<std::size_t>(end - text.data());
        if (error != std::errc() || value > 255 || (length > 1 && text.front() == '0')) return std::nullopt;
        address = address << 8 | value;
        text.remove_prefix(length);
    }
    if (!text.empty() || address >> 24 != 127) return std::nullopt;
    return address;
}

}  // namespace vexa::sim
