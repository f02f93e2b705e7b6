// How the setup window writes a live value.
#pragma once

#include <string>

namespace Nerova::Kite {

// Six digits after the point, as printf's "%f" writes them in the C
// locale, for every finite value. Not-a-number reads "nan" and infinities
// "inf" and "-inf" on every build: the C libraries of the two builds spell
// them differently.
std::string liveValueText(double value);

}  // namespace Nerova::Kite
