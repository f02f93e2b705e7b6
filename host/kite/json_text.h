// How the toolkit writes what it shows: colours as "#RRGGBB", and texts as
// they are. Device names and channel texts are a device's bytes and need
// not be UTF-8, so the written JSON replaces invalid sequences (U+FFFD)
// instead of failing.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "host/kite/names.h"

namespace vexa::kite {

using Json = nlohmann::ordered_json;  // keys in the order written: type and name first

// 0x00BBGGRR read as red, green, blue.
std::string colorText(Color color);

// The JSON text; `indent` < 0 writes one line.
std::string jsonText(const Json& value, int indent = -1);

}  // namespace vexa::kite
