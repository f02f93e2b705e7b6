// The user's actions the page sends, carried out on a toolkit window as
// the toolkit's scripted user actions. One action is a JSON object:
//
//   {"action": "click",      "name": BUTTON}
//   {"action": "editCell",   "name": GRID, "row": R, "column": C, "text": TEXT}
//   {"action": "toggleCell", "name": GRID, "row": R, "column": C, "checked": BOOL}
//   {"action": "pressCell",  "name": GRID, "row": R, "column": C}
//   {"action": "pickColor",  "name": GRID, "row": R, "column": C, "color": "#RRGGBB"}
//   {"action": "selectRows", "name": GRID, "rows": [R, ...]}
//   {"action": "selectTab",  "name": TABS, "index": I}
//   {"action": "typeSearch", "name": EDIT, "text": TEXT}
//
// An action no user could do (an unknown action, control, row or column,
// a field missing or of the wrong type) throws kite::ActionError and
// changes nothing.
#pragma once

#include "host/kite/toolkit.h"

namespace vexa::live {

// True for the action names above.
bool isWindowAction(const kite::Json& action);

// Carries out `action` on `window`; answers the status of the handlers it
// raised.
kite::ErrCode performAction(kite::Window& window, const kite::Json& action);

// "#RRGGBB" as the toolkit's colour 0x00BBGGRR; throws kite::ActionError
// for any other text.
kite::Color colorFromText(const std::string& text);

}  // namespace vexa::live
