// Reads the toolkit's markup into controls, strictly: the document is in
// the toolkit's namespace, every element and attribute is one the toolkit
// knows for that place, names are unique, and a control placed in a grid
// lies inside the grid's definitions. Anything else fails the whole read.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/kite/control.h"

namespace vexa::kite {

// The attributes of a Window root element; they become the window's.
struct WindowAttributes {
    std::string name;
    std::string title;
    std::optional<Color> background;
    Int width = autoSize;
    Int height = autoSize;
};

struct Markup {
    std::optional<WindowAttributes> window;  // set when the root is a Window
    std::vector<Ref<Control>> content;
};

// Throws KiteError with errParseFailed and what is wrong, and where.
Markup readMarkup(const std::string& text);

// A new control of a markup element type, or null for a name that is none
// (a Window is made only by the host).
Ref<Control> makeControl(const std::string& typeName);

}  // namespace vexa::kite
