#include "serialization/string_helper.h"

namespace Nerova::Utils::Ncom::Utils::StringHelper {

std::locale withoutGrouping(const std::locale& base, const std::string& localeName) {
    // The locale takes ownership of the facet.
    return std::locale(base, new NoThousandsSeparatorFacet(localeName));
}

std::locale localeWithoutGrouping(const std::string& localeName) {
    return withoutGrouping(std::locale(localeName.c_str()), localeName);
}

}  // namespace Nerova::Utils::Ncom::Utils::StringHelper
