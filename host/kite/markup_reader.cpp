#include "host/kite/markup_reader.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <set>

#include <rapidxml/rapidxml.hpp>

#include "host/kite/draw_grid.h"
#include "host/kite/panels.h"
#include "host/kite/simple_controls.h"

namespace vexa::kite {

namespace {

using Node = rapidxml::xml_node<char>;
using Attribute = rapidxml::xml_attribute<char>;

enum class Holds { Nothing, One, Many };

// What an element may carry beyond the attributes every control has.
struct ElementRule {
    const char* element;
    std::vector<std::string> attributes;
    Holds children;
    bool text;  // its element text is its label or text
};

const std::vector<std::string> controlAttributes = {"Name",       "Width",           "Height",     "Grid.Row",
                                                    "Grid.Column", "Grid.ColumnSpan", "Background", "Align"};
const std::vector<std::string> windowAttributes = {"Name", "Title", "Background", "Width", "Height"};
const std::vector<std::string> alignments = {"Fill", "Left", "Center", "Right", "Top", "Bottom"};

const ElementRule rules[] = {
    {"Grid", {}, Holds::Many, false},          {"StackPanel", {"Spacing"}, Holds::Many, false},
    {"CaptionPanel", {"Title"}, Holds::One, false}, {"Button", {"Label"}, Holds::Nothing, true},
    {"Label", {"Text"}, Holds::Nothing, true},  {"TabControl", {}, Holds::Nothing, false},
    {"SearchEdit", {"Text"}, Holds::Nothing, false}, {"NVDrawGrid", {}, Holds::Nothing, false},
};

[[noreturn]] void fail(const std::string& why) { throw KiteError(errParseFailed, "markup: " + why); }

std::string nameOf(const Node& node) { return std::string(node.name(), node.name_size()); }
std::string nameOf(const Attribute& attribute) { return std::string(attribute.name(), attribute.name_size()); }
std::string valueOf(const Attribute& attribute) { return std::string(attribute.value(), attribute.value_size()); }

bool contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

bool isDeclaration(const std::string& attribute) { return attribute == "xmlns" || attribute.rfind("xmlns:", 0) == 0; }

// "<Element Name="name">", built by appending: GCC 12 at -O3 warns wrongly
// about overlapping copies in the chained operator+ form.
std::string tag(const std::string& element, const std::string& name) {
    std::string text = "<";
    text += element;
    if (!name.empty()) {
        text += " Name=\"";
        text += name;
        text += '"';
    }
    text += '>';
    return text;
}

std::string where(const Node& node) {
    const Attribute* name = node.first_attribute("Name");
    return tag(nameOf(node), name != nullptr ? valueOf(*name) : std::string());
}

std::string trimmed(const std::string& text) {
    const auto space = [](unsigned char c) { return std::isspace(c) != 0; };
    const auto first = std::find_if_not(text.begin(), text.end(), space);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), space).base();
    return first < last ? std::string(first, last) : std::string();
}

Int number(const Node& node, const std::string& attribute, const std::string& text, Int least) {
    Int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < least)
        fail(where(node) + ": " + attribute + "=\"" + text + "\" is not a whole number from " + std::to_string(least));
    return value;
}

Int size(const Node& node, const std::string& attribute, const std::string& text) {
    return text == "Auto" ? autoSize : number(node, attribute, text, 0);
}

// A grid definition: pixels, "Auto" or a percentage up to 100.
std::string definitionSize(const Node& node, const std::string& attribute, const std::string& text) {
    if (text == "Auto") return text;
    if (!text.empty() && text.back() == '%') {
        if (number(node, attribute, text.substr(0, text.size() - 1), 0) > 100)
            fail(where(node) + ": " + attribute + "=\"" + text + "\" is more than 100%");
        return text;
    }
    number(node, attribute, text, 0);
    return text;
}

Color color(const Node& node, const std::string& text) {
    static const std::pair<const char*, Color> named[] = {
        {"white", 0xFFFFFF}, {"black", 0x000000}, {"red", 0x0000FF},        {"green", 0x008000},
        {"blue", 0xFF0000},  {"yellow", 0x00FFFF}, {"gray", 0x808080},      {"grey", 0x808080},
        {"lightgray", 0xD3D3D3}, {"lightgrey", 0xD3D3D3},
    };
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const auto& [name, value] : named)
        if (lower == name) return value;
    if (text.size() == 7 && text[0] == '#' &&
        std::all_of(text.begin() + 1, text.end(), [](unsigned char c) { return std::isxdigit(c) != 0; })) {
        const unsigned long rgb = std::stoul(text.substr(1), nullptr, 16);
        return static_cast<Color>(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
    }
    fail(where(node) + ": Background=\"" + text + "\" is neither a colour name nor #RRGGBB");
}

const ElementRule* ruleFor(const std::string& element) {
    for (const ElementRule& rule : rules)
        if (element == rule.element) return &rule;
    return nullptr;
}

class Reader {
public:
    Markup read(const std::string& text);

private:
    void checkNamespace(const Node& node, bool root) const;
    void checkAttributeNames(const Node& node, const std::vector<std::string>& extra, bool placed) const;
    void takeName(const Node& node, const std::string& name);
    WindowAttributes window(const Node& node);
    Ref<Control> element(const Node& node, const Control* parent);
    void attributes(const Node& node, Control& control, const ElementRule& rule, const Control* parent);
    void content(const Node& node, Control& control, const ElementRule& rule);
    void definitions(const Node& node, LayoutGrid& grid);
    static void checkPlacement(const Node& node, const LayoutGrid& grid);

    std::set<std::string> names_;
};

Markup Reader::read(const std::string& text) {
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    rapidxml::xml_document<char> document;
    try {
        document.parse<rapidxml::parse_validate_closing_tags>(buffer.data());
    } catch (const rapidxml::parse_error& error) {
        fail(std::string("not well-formed XML: ") + error.what());
    }
    const Node* root = nullptr;
    for (const Node* node = document.first_node(); node != nullptr; node = node->next_sibling()) {
        if (node->type() != rapidxml::node_element) continue;
        if (root != nullptr) fail("more than one root element");
        root = node;
    }
    if (root == nullptr) fail("no element");
    checkNamespace(*root, true);

    Markup markup;
    if (nameOf(*root) != "Window") {
        const ElementRule* rule = ruleFor(nameOf(*root));
        if (rule == nullptr || rule->children == Holds::Nothing)
            fail("a markup document holds a Window or a panel, not " + where(*root));
        markup.content.push_back(element(*root, nullptr));
        return markup;
    }
    markup.window = window(*root);
    for (const Node* child = root->first_node(); child != nullptr; child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element) {
            if (!trimmed(std::string(child->value(), child->value_size())).empty())
                fail("text in " + where(*root));
            continue;
        }
        if (!markup.content.empty()) fail(where(*root) + " holds one control");
        markup.content.push_back(element(*child, nullptr));
    }
    return markup;
}

void Reader::checkNamespace(const Node& node, bool root) const {
    if (nameOf(node).find(':') != std::string::npos)
        fail(where(node) + " is not in the toolkit's namespace " + markupNamespace);
    const Attribute* declared = node.first_attribute("xmlns");
    if (declared == nullptr && !root) return;
    if (declared == nullptr) fail(where(node) + " declares no namespace; the toolkit's is " + markupNamespace);
    if (valueOf(*declared) != markupNamespace)
        fail(where(node) + " is in namespace " + valueOf(*declared) + ", not the toolkit's " + markupNamespace);
}

void Reader::checkAttributeNames(const Node& node, const std::vector<std::string>& extra, bool placed) const {
    std::set<std::string> seen;
    for (const Attribute* a = node.first_attribute(); a != nullptr; a = a->next_attribute()) {
        const std::string name = nameOf(*a);
        if (!seen.insert(name).second) fail(where(node) + " has " + name + " twice");
        if (isDeclaration(name)) continue;
        if (!contains(extra, name)) fail(where(node) + ": unknown attribute " + name);
        if (!placed && name.rfind("Grid.", 0) == 0) fail(where(node) + ": " + name + " outside a Grid");
    }
}

void Reader::takeName(const Node& node, const std::string& name) {
    if (name.empty()) fail(where(node) + ": an empty Name");
    if (!names_.insert(name).second) fail(where(node) + ": the name " + name + " is taken");
}

WindowAttributes Reader::window(const Node& node) {
    checkAttributeNames(node, windowAttributes, false);
    WindowAttributes window;
    for (const Attribute* a = node.first_attribute(); a != nullptr; a = a->next_attribute()) {
        const std::string name = nameOf(*a);
        const std::string value = valueOf(*a);
        if (name == "Name") takeName(node, window.name = value);
        else if (name == "Title") window.title = value;
        else if (name == "Background") window.background = color(node, value);
        else if (name == "Width") window.width = size(node, name, value);
        else if (name == "Height") window.height = size(node, name, value);
    }
    return window;
}

Ref<Control> Reader::element(const Node& node, const Control* parent) {
    checkNamespace(node, false);
    const ElementRule* rule = ruleFor(nameOf(node));
    if (rule == nullptr) fail("unknown element " + where(node));
    Ref<Control> control = makeControl(rule->element);
    attributes(node, *control, *rule, parent);
    content(node, *control, *rule);
    return control;
}

void Reader::attributes(const Node& node, Control& control, const ElementRule& rule, const Control* parent) {
    std::vector<std::string> allowed = controlAttributes;
    allowed.insert(allowed.end(), rule.attributes.begin(), rule.attributes.end());
    checkAttributeNames(node, allowed, dynamic_cast<const LayoutGrid*>(parent) != nullptr);
    for (const Attribute* a = node.first_attribute(); a != nullptr; a = a->next_attribute()) {
        const std::string name = nameOf(*a);
        const std::string value = valueOf(*a);
        if (name == "Name") {
            takeName(node, value);
            control.rename(value);
        } else if (name == "Width") control.width = size(node, name, value);
        else if (name == "Height") control.height = size(node, name, value);
        else if (name == "Grid.Row") control.placement.row = number(node, name, value, 0);
        else if (name == "Grid.Column") control.placement.column = number(node, name, value, 0);
        else if (name == "Grid.ColumnSpan") control.placement.columnSpan = number(node, name, value, 1);
        else if (name == "Background") control.background = color(node, value);
        else if (name == "Align") {
            if (!contains(alignments, value)) fail(where(node) + ": Align=\"" + value + "\" is no alignment");
            control.align = value;
        } else if (name == "Spacing") dynamic_cast<StackPanel&>(control).spacing = number(node, name, value, 0);
        else if (name == "Title") dynamic_cast<CaptionPanel&>(control).title = value;
        else if (name == "Label") dynamic_cast<Button&>(control).label = value;
        else if (name == "Text" && rule.text) dynamic_cast<Label&>(control).text = value;
        else if (name == "Text") dynamic_cast<SearchEdit&>(control).text = value;
    }
}

void Reader::content(const Node& node, Control& control, const ElementRule& rule) {
    std::string text;
    bool definedColumns = false;
    bool definedRows = false;
    for (const Node* child = node.first_node(); child != nullptr; child = child->next_sibling()) {
        if (child->type() == rapidxml::node_data || child->type() == rapidxml::node_cdata) {
            text += std::string(child->value(), child->value_size());
            continue;
        }
        if (child->type() != rapidxml::node_element) continue;
        const std::string name = nameOf(*child);
        auto* grid = dynamic_cast<LayoutGrid*>(&control);
        if (grid != nullptr && (name == "Grid.ColumnDefinitions" || name == "Grid.RowDefinitions")) {
            bool& defined = name == "Grid.ColumnDefinitions" ? definedColumns : definedRows;
            if (defined) fail(where(node) + " has " + name + " twice");
            defined = true;
            definitions(*child, *grid);
            continue;
        }
        if (rule.children == Holds::Nothing) fail(where(node) + " holds no controls, yet holds " + where(*child));
        if (rule.children == Holds::One && !control.children().empty()) fail(where(node) + " holds one control");
        control.appendChild(element(*child, &control));
    }
    text = trimmed(text);
    if (!text.empty()) {
        if (!rule.text) fail("text in " + where(node));
        const char* attribute = dynamic_cast<Button*>(&control) != nullptr ? "Label" : "Text";
        if (node.first_attribute(attribute) != nullptr)
            fail(where(node) + " has both " + attribute + " and element text");
        if (auto* button = dynamic_cast<Button*>(&control)) button->label = text;
        else dynamic_cast<Label&>(control).text = text;
    }
    if (const auto* grid = dynamic_cast<const LayoutGrid*>(&control)) checkPlacement(node, *grid);
}

void Reader::definitions(const Node& node, LayoutGrid& grid) {
    const bool columns = nameOf(node) == "Grid.ColumnDefinitions";
    const std::string item = columns ? "ColumnDefinition" : "RowDefinition";
    const std::string attribute = columns ? "Width" : "Height";
    checkNamespace(node, false);
    checkAttributeNames(node, {}, false);
    for (const Node* child = node.first_node(); child != nullptr; child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element) {
            if (!trimmed(std::string(child->value(), child->value_size())).empty()) fail("text in " + where(node));
            continue;
        }
        checkNamespace(*child, false);
        if (nameOf(*child) != item) fail(where(node) + " holds " + item + " elements, not " + where(*child));
        if (child->first_node() != nullptr) fail(where(*child) + " holds nothing");
        checkAttributeNames(*child, {attribute}, false);
        const Attribute* given = child->first_attribute(attribute.c_str());
        const std::string value = given != nullptr ? definitionSize(*child, attribute, valueOf(*given)) : "Auto";
        (columns ? grid.columns : grid.rows).push_back(value);
    }
}

void Reader::checkPlacement(const Node& node, const LayoutGrid& grid) {
    for (const Ref<Control>& child : grid.children()) {
        const Placement& at = child->placement;
        const std::string who = tag(child->typeName(), child->name());
        if (at.row >= grid.rowCount())
            fail(who + ": Grid.Row " + std::to_string(at.row) + " is outside the " + std::to_string(grid.rowCount()) +
                 " rows of " + where(node));
        if (at.column + at.columnSpan > grid.columnCount())
            fail(who + ": Grid.Column " + std::to_string(at.column) + " with span " + std::to_string(at.columnSpan) +
                 " is outside the " + std::to_string(grid.columnCount()) + " columns of " + where(node));
    }
}

}  // namespace

Markup readMarkup(const std::string& text) { return Reader().read(text); }

Ref<Control> makeControl(const std::string& typeName) {
    if (typeName == "Grid") return make<LayoutGrid>();
    if (typeName == "StackPanel") return make<StackPanel>();
    if (typeName == "CaptionPanel") return make<CaptionPanel>();
    if (typeName == "Button") return make<Button>();
    if (typeName == "Label") return make<Label>();
    if (typeName == "TabControl") return make<TabControl>();
    if (typeName == "SearchEdit") return make<SearchEdit>();
    if (typeName == "NVDrawGrid") return make<DrawGrid>();
    return {};
}

}  // namespace vexa::kite
