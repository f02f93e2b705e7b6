#include "platform/guid.h"

#include <cstdio>

namespace vexa {

std::string guidToString(const GUID& g) {
    char text[39];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1],
                  g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return text;
}

namespace {

std::optional<unsigned> hexDigit(char c) {
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
    return std::nullopt;
}

}  // namespace

std::optional<GUID> guidFromString(std::string_view text) {
    constexpr std::string_view shape = "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
    if (text.size() != shape.size()) return std::nullopt;
    unsigned char bytes[16];
    int nibble = 0;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] != 'X') {
            if (text[i] != shape[i]) return std::nullopt;
            continue;
        }
        const auto digit = hexDigit(text[i]);
        if (!digit) return std::nullopt;
        if (nibble % 2 == 0) bytes[nibble / 2] = static_cast<unsigned char>(*digit << 4);
        else bytes[nibble / 2] |= static_cast<unsigned char>(*digit);
        ++nibble;
    }
    GUID g{};
    g.Data1 = (unsigned long)bytes[0] << 24 | bytes[1] << 16 | bytes[2] << 8 | bytes[3];
    g.Data2 = static_cast<unsigned short>(bytes[4] << 8 | bytes[5]);
    g.Data3 = static_cast<unsigned short>(bytes[6] << 8 | bytes[7]);
    for (int i = 0; i < 8; ++i) g.Data4[i] = bytes[8 + i];
    return g;
}

}  // namespace vexa
