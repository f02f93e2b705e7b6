// Conversions between UTF-8, the system's narrow code page and UTF-16.
// Invalid input becomes U+FFFD, as the system conversions do.
#pragma once

#include <string>
#include <string_view>

#include "platform/com.h"

namespace vexa {

using WideString = std::basic_string<OLECHAR>;
using WideView = std::basic_string_view<OLECHAR>;

WideString utf8ToWide(std::string_view text);
std::string wideToUtf8(WideView text);

// The narrow code page of the system (on Linux: UTF-8). Characters outside it
// do not survive the trip to narrow text.
WideString narrowToWide(std::string_view text);
std::string wideToNarrow(WideView text);

// A message of the system (Winsock, Boost.System, the C runtime) as UTF-8.
// On Windows such texts come in the ANSI code page; elsewhere they are
// UTF-8 already and pass unchanged.
std::string systemMessageToUtf8(std::string_view text);

}  // namespace vexa
