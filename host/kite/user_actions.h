// What a user does to a window, scripted: by the tests, and by whatever
// stands in for a user in the reference host. Each action names its
// control by Name and answers the status of the handlers it raised (the
// first failing one, else errOk; errOk also when nothing was raised). An
// action no user could do (an unknown or hidden control, a control of
// another type, a row or column the grid does not show, a cell of another
// kind, a greyed tab) throws ActionError and changes nothing.
#pragma once

#include <string>
#include <vector>

#include "host/kite/window.h"

namespace vexa::kite {

ErrCode click(Window& window, const std::string& button);
// Commits `text` in an editable cell: the cell-input event.
ErrCode editCell(Window& window, const std::string& grid, Int row, Int column, const std::string& text);
// Sets a check-box cell to `checked`: the cell-action event with that state.
ErrCode toggleCell(Window& window, const std::string& grid, Int row, Int column, bool checked);
// Presses a button cell: the cell-action event with state 0.
ErrCode pressCell(Window& window, const std::string& grid, Int row, Int column);
// Picks a colour in a colour cell: the cell-input event with that colour.
ErrCode pickColor(Window& window, const std::string& grid, Int row, Int column, Color color);
// Makes exactly `rows` the selection (a click, then ctrl-clicks); rows 1
// and up, as the grid shows them.
ErrCode selectRows(Window& window, const std::string& grid, const std::vector<Int>& rows);
ErrCode selectTab(Window& window, const std::string& tabs, Int index);
// Types into a search edit until it holds `text`.
ErrCode typeSearch(Window& window, const std::string& edit, const std::string& text);

}  // namespace vexa::kite
