#include "host/kite/user_actions.h"

#include "host/kite/draw_grid.h"
#include "host/kite/simple_controls.h"

namespace vexa::kite {

namespace {

template <class T>
T& reachable(Window& window, const std::string& name, const char* type) {
    if (window.dropped()) throw ActionError("the window was dropped");
    Component* found = window.find(name);
    if (found == nullptr) throw ActionError("the window has no control named '" + name + "'");
    T* control = dynamic_cast<T*>(found);
    if (control == nullptr)
        throw ActionError("'" + name + "' is a " + found->typeName() + ", not a " + type);
    if (control->hidden || control->retired()) throw ActionError("'" + name + "' is hidden");
    return *control;
}

}  // namespace

ErrCode click(Window& window, const std::string& button) {
    return reachable<Button>(window, button, "Button").click();
}

ErrCode editCell(Window& window, const std::string& grid, Int row, Int column, const std::string& text) {
    return reachable<DrawGrid>(window, grid, "NVDrawGrid").editCell(row, column, text);
}

ErrCode toggleCell(Window& window, const std::string& grid, Int row, Int column, bool checked) {
    return reachable<DrawGrid>(window, grid, "NVDrawGrid").toggleCell(row, column, checked);
}

ErrCode pressCell(Window& window, const std::string& grid, Int row, Int column) {
    return reachable<DrawGrid>(window, grid, "NVDrawGrid").pressCell(row, column);
}

ErrCode pickColor(Window& window, const std::string& grid, Int row, Int column, Color color) {
    return reachable<DrawGrid>(window, grid, "NVDrawGrid").pickColor(row, column, color);
}

ErrCode selectRows(Window& window, const std::string& grid, const std::vector<Int>& rows) {
    return reachable<DrawGrid>(window, grid, "NVDrawGrid").selectRows(rows);
}

ErrCode selectTab(Window& window, const std::string& tabs, Int index) {
    TabControl& control = reachable<TabControl>(window, tabs, "TabControl");
    try {
        control.checkSelectable(index);
    } catch (const KiteError& error) {
        throw ActionError(error.what());
    }
    return control.choose(index);
}

ErrCode typeSearch(Window& window, const std::string& edit, const std::string& text) {
    return reachable<SearchEdit>(window, edit, "SearchEdit").type(text);
}

}  // namespace vexa::kite
