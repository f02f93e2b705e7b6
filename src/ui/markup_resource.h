// The window markup the plug-in module carries: on Windows as resources of
// type "Kite" named by their path, elsewhere as byte arrays compiled in.
#pragma once

#include <cstddef>
#include <string>

namespace Nerova::Kite {

// The text of markup resource `name`, e.g. "ui/settings_window.xml". A
// module without it was packaged wrongly: InvalidParameterException naming
// the resource.
std::string markupText(const std::string& name);

// What a resource of `size` bytes at `data` holds as text: all of it, or
// for a size of 0 the bytes up to the first NUL.
std::string resourceText(const char* data, std::size_t size);

}  // namespace Nerova::Kite
