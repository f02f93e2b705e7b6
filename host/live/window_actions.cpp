#include "host/live/window_actions.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <string>

namespace vexa::live {

namespace {

using kite::ActionError;
using kite::ErrCode;
using kite::Int;
using kite::Json;
using kite::Window;

const Json& field(const Json& action, const char* key) {
    const auto found = action.find(key);
    if (found == action.end()) throw ActionError(std::string("the action lacks \"") + key + "\"");
    return *found;
}

std::string text(const Json& action, const char* key) {
    const Json& value = field(action, key);
    if (!value.is_string()) throw ActionError(std::string("\"") + key + "\" must be a text");
    return value.get<std::string>();
}

Int asInteger(const Json& value, const char* key) {
    if (!value.is_number_integer()) throw ActionError(std::string("\"") + key + "\" must be a whole number");
    return value.get<Int>();
}

Int integer(const Json& action, const char* key) { return asInteger(field(action, key), key); }

bool flag(const Json& action, const char* key) {
    const Json& value = field(action, key);
    if (!value.is_boolean()) throw ActionError(std::string("\"") + key + "\" must be true or false");
    return value.get<bool>();
}

std::vector<Int> rows(const Json& action) {
    const Json& value = field(action, "rows");
    if (!value.is_array()) throw ActionError("\"rows\" must be a list of rows");
    std::vector<Int> taken;
    for (const Json& row : value) taken.push_back(asInteger(row, "rows"));
    return taken;
}

using Perform = std::function<ErrCode(Window&, const Json&)>;

const std::map<std::string, Perform>& performers() {
    static const std::map<std::string, Perform> table = {
        {"click", [](Window& w, const Json& a) { return kite::click(w, text(a, "name")); }},
        {"editCell",
         [](Window& w, const Json& a) {
             return kite::editCell(w, text(a, "name"), integer(a, "row"), integer(a, "column"), text(a, "text"));
         }},
        {"toggleCell",
         [](Window& w, const Json& a) {
             return kite::toggleCell(w, text(a, "name"), integer(a, "row"), integer(a, "column"),
                                     flag(a, "checked"));
         }},
        {"pressCell",
         [](Window& w, const Json& a) {
             return kite::pressCell(w, text(a, "name"), integer(a, "row"), integer(a, "column"));
         }},
        {"pickColor",
         [](Window& w, const Json& a) {
             return kite::pickColor(w, text(a, "name"), integer(a, "row"), integer(a, "column"),
                                    colorFromText(text(a, "color")));
         }},
        {"selectRows", [](Window& w, const Json& a) { return kite::selectRows(w, text(a, "name"), rows(a)); }},
        {"selectTab",
         [](Window& w, const Json& a) { return kite::selectTab(w, text(a, "name"), integer(a, "index")); }},
        {"typeSearch", [](Window& w, const Json& a) { return kite::typeSearch(w, text(a, "name"), text(a, "text")); }},
    };
    return table;
}

}  // namespace

bool isWindowAction(const Json& action) {
    if (!action.is_object()) return false;
    const Json name = action.value("action", Json());
    return name.is_string() && performers().count(name.get<std::string>()) != 0;
}

ErrCode performAction(Window& window, const Json& action) {
    if (!action.is_object()) throw ActionError("an action is a JSON object");
    const std::string name = text(action, "action");
    const auto found = performers().find(name);
    if (found == performers().end()) throw ActionError("there is no action \"" + name + "\"");
    return found->second(window, action);
}

kite::Color colorFromText(const std::string& given) {
    const bool good = given.size() == 7 && given[0] == '#' &&
                      std::all_of(given.begin() + 1, given.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
    if (!good) throw ActionError("a colour is #RRGGBB, not \"" + given + "\"");
    const unsigned long rgb = std::stoul(given.substr(1), nullptr, 16);
    const unsigned long red = (rgb >> 16) & 0xFF, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
    return static_cast<kite::Color>(red | (green << 8) | (blue << 16));
}

}  // namespace vexa::live
