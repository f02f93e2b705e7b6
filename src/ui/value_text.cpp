#include "ui/value_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace Nerova::Kite {

namespace {

// A sign, every integer digit of the largest double, the point and six
// digits: no finite value is cut short (-FLT_MAX, the largest a device
// sends, needs 47).
constexpr std::size_t longestText = 1 + std::numeric_limits<double>::max_exponent10 + 1 + 1 + 6;

}  // namespace

std::string liveValueText(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    // to_chars writes what "%f" does, without asking the locale for the
    // decimal point.
    std::array<char, longestText> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, 6);
    return std::string(text.data(), written.ptr);
}

}  // namespace Nerova::Kite
