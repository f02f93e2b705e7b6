// GUIDs in the registry text form: braces, upper-case hexadecimal groups.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/com.h"

namespace vexa {

std::string guidToString(const GUID& guid);
std::optional<GUID> guidFromString(std::string_view text);

}  // namespace vexa
