#include "host/kite/draw_grid.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "host/kite/json_text.h"

namespace vexa::kite {

namespace {

enum Event : std::size_t { CellProperties = 1, LiveValue = 3, CellAction = 5, SelectionChanged = 6, CellInput = 7 };

bool knownKind(Int kind) {
    switch (static_cast<ColumnKind>(kind)) {
    case ColumnKind::Text:
    case ColumnKind::EditableText:
    case ColumnKind::Number:
    case ColumnKind::Button:
    case ColumnKind::CheckBox:
    case ColumnKind::ColorPick:
    case ColumnKind::LiveValue: return true;
    }
    return false;
}

// Numbers are drawn as integers when they are whole, else with up to 15
// significant digits.
std::string numberText(double number) {
    char text[64];
    if (std::isfinite(number) && number == std::floor(number) && std::fabs(number) < 1e15)
        std::snprintf(text, sizeof text, "%.0f", number);
    else if (std::isnan(number))
        return "nan";
    else if (std::isinf(number))
        return number < 0 ? "-inf" : "inf";
    else
        std::snprintf(text, sizeof text, "%.15g", number);
    return text;
}

std::string folded(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

const char* kindName(ColumnKind kind) noexcept {
    switch (kind) {
    case ColumnKind::Text: return "Text";
    case ColumnKind::EditableText: return "EditableText";
    case ColumnKind::Number: return "Number";
    case ColumnKind::Button: return "Button";
    case ColumnKind::CheckBox: return "CheckBox";
    case ColumnKind::ColorPick: return "ColorPick";
    case ColumnKind::LiveValue: return "LiveValue";
    }
    return "?";
}

ErrCode DrawGridColumn::getTitle(IString** out) noexcept {
    return kiteCall([&] { giveString(out, title); });
}
ErrCode DrawGridColumn::getKind(Int* out) noexcept {
    return kiteCall([&] { giveValue(out, static_cast<Int>(kind)); });
}
ErrCode DrawGridColumn::getWidth(Int* out) noexcept {
    return kiteCall([&] { giveValue(out, width); });
}
ErrCode DrawGridColumn::getResizable(Bool* out) noexcept {
    return kiteCall([&] { giveValue(out, resizable ? 1 : 0); });
}
ErrCode DrawGridColumn::setResizable(Bool value) noexcept {
    resizable = value != 0;
    return errOk;
}

DrawGrid::DrawGrid()
    : ControlObject({"CellClick", "CellProperties", "CellDoubleClick", "LiveValue", "HeaderClick", "CellAction",
                     "SelectionChanged", "CellInput", "ColumnResized", "RowMoved", "KeyPressed", "Scrolled",
                     "FocusChanged"}) {}

std::vector<const DrawGridColumn*> DrawGrid::shownColumns() const {
    std::vector<const DrawGridColumn*> shown;
    for (const Ref<DrawGridColumn>& column : applied_)
        if (column->shown && column->index < columns_) shown.push_back(column.get());
    return shown;
}

bool DrawGrid::rowShown(Int row) const {
    return row >= 1 && row < rows_ && passes_[static_cast<std::size_t>(row - 1)];
}

DrawGrid::Cell& DrawGrid::at(Int row, Int column) {
    if (row < 1 || row >= rows_ || column < 0 || column >= columns_)
        throw std::out_of_range("no cell (" + std::to_string(row) + ", " + std::to_string(column) + ")");
    return cells_[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(column)];
}

const DrawGrid::Cell& DrawGrid::at(Int row, Int column) const { return const_cast<DrawGrid*>(this)->at(row, column); }

const CellContent& DrawGrid::cell(Int row, Int column) const { return at(row, column).content; }

std::string DrawGrid::cellText(Int row, Int column) const {
    const CellContent& content = cell(row, column);
    if (content.text) return *content.text;
    if (content.number) return numberText(*content.number);
    return {};
}

void DrawGrid::ask(Int row, const DrawGridColumn& column) {
    const bool live = column.kind == ColumnKind::LiveValue;
    Ref<LiveValueArgs> liveArgs;
    Ref<CellPropsArgs> propsArgs;
    if (live) {
        liveArgs = make<LiveValueArgs>(row, column.index);
        raise(LiveValue, liveArgs.get());
    } else {
        propsArgs = make<CellPropsArgs>(row, column.index);
        raise(CellProperties, propsArgs.get());
    }
    // The handler may have resized the grid.
    if (row >= rows_ || column.index >= columns_) return;
    Cell& target = at(row, column.index);
    target.content = live ? liveArgs->content() : propsArgs->content();
    if (target.content.peak)
        target.topPeak = target.topPeak ? std::max(*target.topPeak, *target.content.peak) : *target.content.peak;
}

void DrawGrid::paint() {
    // A handler that asks for a repaint while the grid paints gets this one.
    if (painting_ || retired()) return;
    painting_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{painting_};
    // Held: a handler may define and apply other columns meanwhile.
    const std::vector<Ref<DrawGridColumn>> columns = applied_;
    for (Int row = 1; row < rows_; ++row) {
        for (const Ref<DrawGridColumn>& column : columns)
            if (column->shown && column->index < columns_ && row < rows_) ask(row, *column);
    }
    applyFilter();
}

void DrawGrid::applyFilter() {
    passes_.assign(static_cast<std::size_t>(rows_ - 1), true);
    if (searchText_.empty()) return;
    const std::string wanted = caseSensitive_ ? searchText_ : folded(searchText_);
    const std::vector<const DrawGridColumn*> columns = shownColumns();
    for (Int row = 1; row < rows_; ++row) {
        const bool found = std::any_of(columns.begin(), columns.end(), [&](const DrawGridColumn* column) {
            const std::string text = cellText(row, column->index);
            return (caseSensitive_ ? text : folded(text)).find(wanted) != std::string::npos;
        });
        passes_[static_cast<std::size_t>(row - 1)] = found;
    }
}

void DrawGrid::userRow(Int row) const {
    if (row < 1 || row >= rows_)
        throw ActionError("grid '" + name() + "' has no data row " + std::to_string(row) + " (it has rows 1 to " +
                          std::to_string(rows_ - 1) + ")");
    if (!rowShown(row))
        throw ActionError("row " + std::to_string(row) + " of grid '" + name() + "' is hidden by the search");
}

const DrawGridColumn& DrawGrid::userCell(Int row, Int column, std::initializer_list<ColumnKind> kinds) const {
    userRow(row);
    for (const DrawGridColumn* shown : shownColumns()) {
        if (shown->index != column) continue;
        if (std::find(kinds.begin(), kinds.end(), shown->kind) == kinds.end())
            throw ActionError("column " + std::to_string(column) + " of grid '" + name() + "' is a " +
                              kindName(shown->kind) + " column: a user cannot do that there");
        return *shown;
    }
    throw ActionError("grid '" + name() + "' shows no column " + std::to_string(column));
}

ErrCode DrawGrid::editCell(Int row, Int column, const std::string& text) {
    userCell(row, column, {ColumnKind::EditableText});
    auto args = make<CellInputArgs>(row, column, text, Color{0});
    return deliver(CellInput, args.get());
}

ErrCode DrawGrid::pickColor(Int row, Int column, Color color) {
    userCell(row, column, {ColumnKind::ColorPick});
    auto args = make<CellInputArgs>(row, column, std::string(), color);
    return deliver(CellInput, args.get());
}

ErrCode DrawGrid::toggleCell(Int row, Int column, bool checked) {
    userCell(row, column, {ColumnKind::CheckBox});
    at(row, column).checked = checked;
    auto args = make<CellActionArgs>(row, column, checked ? 1 : 0);
    return deliver(CellAction, args.get());
}

ErrCode DrawGrid::pressCell(Int row, Int column) {
    userCell(row, column, {ColumnKind::Button});
    auto args = make<CellActionArgs>(row, column, 0);
    return deliver(CellAction, args.get());
}

ErrCode DrawGrid::selectRows(const std::vector<Int>& rows) {
    for (Int row : rows) userRow(row);
    selection_ = std::set<Int>(rows.begin(), rows.end());
    auto args = make<GridEventArgs>("SelectionChanged", rows.empty() ? 0 : rows.front(), 0);
    return deliver(SelectionChanged, args.get());
}

ErrCode DrawGrid::setSize(Int rows, Int columns) noexcept {
    return kiteCall([&] {
        if (rows < 1 || columns < 0)
            throw KiteError(errOutOfRange, "a grid has at least its header row and no fewer than 0 columns");
        rows_ = rows;
        columns_ = columns;
        defined_.resize(static_cast<std::size_t>(columns));
        cells_.assign(static_cast<std::size_t>(rows - 1), std::vector<Cell>(static_cast<std::size_t>(columns)));
        selection_.clear();
        applyFilter();
    });
}

ErrCode DrawGrid::defineColumn(Int index, IString* title, Int kind, Int flags, Int pixels, IString* key) noexcept {
    return kiteCall([&] {
        if (index < 0 || index >= columns_)
            throw KiteError(errOutOfRange, "column " + std::to_string(index) + " is outside the grid's " +
                                               std::to_string(columns_) + " columns");
        if (!knownKind(kind)) throw KiteError(errInvalidParameter, "no column kind " + std::to_string(kind));
        if (pixels < 0) throw KiteError(errOutOfRange, "a column width is pixels from 0");
        defined_[static_cast<std::size_t>(index)] = make<DrawGridColumn>(
            index, textOf(title), static_cast<ColumnKind>(kind), (flags & 1) != 0, pixels, textOf(key));
    });
}

ErrCode DrawGrid::applyColumns() noexcept {
    return kiteCall([&] {
        applied_.clear();
        for (const Ref<DrawGridColumn>& column : defined_)
            if (column) applied_.push_back(column);
        applyFilter();
    });
}

ErrCode DrawGrid::getColumn(Int index, IDrawGridColumn** column) noexcept {
    return kiteCall([&] {
        if (index < 0 || index >= columns_)
            throw KiteError(errOutOfRange, "column " + std::to_string(index) + " is outside the grid");
        const Ref<DrawGridColumn>& found = defined_[static_cast<std::size_t>(index)];
        if (!found) throw KiteError(errNotFound, "column " + std::to_string(index) + " is not defined");
        giveObject(column, found.get());
    });
}

ErrCode DrawGrid::setSortable(Bool sortable) noexcept {
    sortable_ = sortable != 0;
    return errOk;
}

ErrCode DrawGrid::repaint() noexcept {
    return kiteCall([&] { paint(); });
}

ErrCode DrawGrid::getRowCount(Int* rows) noexcept {
    return kiteCall([&] { giveValue(rows, rows_); });
}

ErrCode DrawGrid::isRowSelected(Int row, Bool* answer) noexcept {
    return kiteCall([&] {
        if (row < 0 || row >= rows_) throw KiteError(errOutOfRange, "the grid has no row " + std::to_string(row));
        giveValue(answer, selected(row) ? 1 : 0);
    });
}

ErrCode DrawGrid::search(IString* text, Int flags) noexcept {
    return kiteCall([&] {
        searchText_ = textOf(text);
        caseSensitive_ = (flags & 1) != 0;
        applyFilter();
    });
}

namespace {

Json cellJson(const CellContent& content) {
    Json cell = Json::object();
    if (content.text) cell["text"] = *content.text;
    if (content.number) cell["number"] = *content.number;
    if (content.color) cell["color"] = colorText(*content.color);
    if (content.value) cell["value"] = *content.value;
    if (content.kind) cell["kind"] = *content.kind;
    return cell;
}

}  // namespace

// Rows the search hides are left out; "row" says which row each one is.
void DrawGrid::writeOwnJson(Json& out) const {
    out["rowCount"] = rows_;
    out["columnCount"] = columns_;
    out["sortable"] = sortable_;
    out["search"] = {{"text", searchText_}, {"caseSensitive", caseSensitive_}};
    Json& columns = out["columns"] = Json::array();
    for (const Ref<DrawGridColumn>& column : applied_) {
        columns.push_back({{"index", column->index}, {"key", column->key}, {"title", column->title},
                           {"kind", kindName(column->kind)}, {"shown", column->shown}, {"width", column->width},
                           {"resizable", column->resizable}});
    }
    const std::vector<const DrawGridColumn*> shown = shownColumns();
    Json& rows = out["rows"] = Json::array();
    for (Int row = 1; row < rows_; ++row) {
        if (!rowShown(row)) continue;
        Json cells = Json::array();
        for (const DrawGridColumn* column : shown) {
            const Cell& held = at(row, column->index);
            Json cell = cellJson(held.content);
            if (held.topPeak) cell["peak"] = *held.topPeak;
            if (held.checked) cell["checked"] = *held.checked;
            cells.push_back(std::move(cell));
        }
        rows.push_back({{"row", row}, {"selected", selected(row)}, {"cells", std::move(cells)}});
    }
}

}  // namespace vexa::kite
