#include "host/kite/json_text.h"

#include <cstdio>

namespace vexa::kite {

std::string colorText(Color color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", static_cast<unsigned>(color & 0xFFu),
                  static_cast<unsigned>((color >> 8) & 0xFFu), static_cast<unsigned>((color >> 16) & 0xFFu));
    return text;
}

std::string jsonText(const Json& value, int indent) {
    return value.dump(indent, ' ', false, Json::error_handler_t::replace);
}

}  // namespace vexa::kite
