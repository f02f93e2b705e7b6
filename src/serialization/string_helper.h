// Number formatting for texts that other programs read back: the decimal
// style of a locale, but never digit grouping.
#pragma once

#include <locale>
#include <string>

namespace Nerova::Utils::Ncom::Utils::StringHelper {

class NoThousandsSeparatorFacet : public std::numpunct_byname<char> {
public:
    explicit NoThousandsSeparatorFacet(const std::string& localeName, std::size_t refs = 0)
        : std::numpunct_byname<char>(localeName, refs) {}

protected:
    char do_thousands_sep() const override { return '\0'; }
    std::string do_grouping() const override { return {}; }
};

// `base` with the named locale's number punctuation, minus the grouping.
// Throws std::runtime_error for a locale name the system does not know.
std::locale withoutGrouping(const std::locale& base, const std::string& localeName);
// The named locale without grouping.
std::locale localeWithoutGrouping(const std::string& localeName);

}  // namespace Nerova::Utils::Ncom::Utils::StringHelper
