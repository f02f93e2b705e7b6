// The draw grid: it keeps no cell contents of its own. When it paints it
// asks, through its cell-properties and live-value events, for every cell
// of every data row in the columns it shows, and keeps what the handlers
// set until the next paint. Row 0 is the header: it shows the column
// titles and is never asked for.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/kite/control.h"
#include "host/kite/event_args.h"

namespace vexa::kite {

class DrawGridColumn final : public KiteObject<IDrawGridColumn> {
public:
    DrawGridColumn(Int at, std::string titled, ColumnKind of, bool show, Int pixels, std::string keyed)
        : index(at), title(std::move(titled)), kind(of), shown(show), width(pixels), key(std::move(keyed)) {}

    const Int index;
    const std::string title;
    const ColumnKind kind;
    const bool shown;  // flag bit 0
    const Int width;
    const std::string key;
    bool resizable = true;

    ErrCode getTitle(IString** out) noexcept override;
    ErrCode getKind(Int* out) noexcept override;
    ErrCode getWidth(Int* out) noexcept override;
    ErrCode getResizable(Bool* out) noexcept override;
    ErrCode setResizable(Bool value) noexcept override;

private:
    std::string describe() const override { return "Kite.DrawGridColumn " + key; }
};

const char* kindName(ColumnKind kind) noexcept;

class DrawGrid final : public ControlObject<INVDrawGrid> {
public:
    DrawGrid();
    const char* typeName() const noexcept override { return "NVDrawGrid"; }

    // What the grid shows.
    Int rowCount() const noexcept { return rows_; }
    std::vector<const DrawGridColumn*> shownColumns() const;
    // A data row the search lets through.
    bool rowShown(Int row) const;
    bool selected(Int row) const { return selection_.count(row) != 0; }
    // The cell as last painted; throws std::out_of_range outside the grid.
    const CellContent& cell(Int row, Int column) const;
    // The text a cell shows: its text, else its number as text.
    std::string cellText(Int row, Int column) const;

    void paint() override;

    // What a user does; each answers the handlers' status and throws
    // ActionError, changing nothing, for a cell no user could reach.
    ErrCode editCell(Int row, Int column, const std::string& text);
    ErrCode toggleCell(Int row, Int column, bool checked);
    ErrCode pressCell(Int row, Int column);
    ErrCode pickColor(Int row, Int column, Color color);
    ErrCode selectRows(const std::vector<Int>& rows);

    ErrCode setSize(Int rows, Int columns) noexcept override;
    ErrCode defineColumn(Int index, IString* title, Int kind, Int flags, Int pixels, IString* key) noexcept override;
    ErrCode applyColumns() noexcept override;
    ErrCode getColumn(Int index, IDrawGridColumn** column) noexcept override;
    ErrCode setSortable(Bool sortable) noexcept override;
    ErrCode repaint() noexcept override;
    ErrCode getRowCount(Int* rows) noexcept override;
    ErrCode isRowSelected(Int row, Bool* selected) noexcept override;
    ErrCode search(IString* text, Int flags) noexcept override;

    ErrCode addCellClickHandler(IEventHandler* h) noexcept override { return addHandler(0, h); }
    ErrCode removeCellClickHandler(IEventHandler* h) noexcept override { return removeHandler(0, h); }
    ErrCode addCellPropertiesHandler(IEventHandler* h) noexcept override { return addHandler(1, h); }
    ErrCode removeCellPropertiesHandler(IEventHandler* h) noexcept override { return removeHandler(1, h); }
    ErrCode addCellDoubleClickHandler(IEventHandler* h) noexcept override { return addHandler(2, h); }
    ErrCode removeCellDoubleClickHandler(IEventHandler* h) noexcept override { return removeHandler(2, h); }
    ErrCode addLiveValueHandler(IEventHandler* h) noexcept override { return addHandler(3, h); }
    ErrCode removeLiveValueHandler(IEventHandler* h) noexcept override { return removeHandler(3, h); }
    ErrCode addHeaderClickHandler(IEventHandler* h) noexcept override { return addHandler(4, h); }
    ErrCode removeHeaderClickHandler(IEventHandler* h) noexcept override { return removeHandler(4, h); }
    ErrCode addCellActionHandler(IEventHandler* h) noexcept override { return addHandler(5, h); }
    ErrCode removeCellActionHandler(IEventHandler* h) noexcept override { return removeHandler(5, h); }
    ErrCode addSelectionChangedHandler(IEventHandler* h) noexcept override { return addHandler(6, h); }
    ErrCode removeSelectionChangedHandler(IEventHandler* h) noexcept override { return removeHandler(6, h); }
    ErrCode addCellInputHandler(IEventHandler* h) noexcept override { return addHandler(7, h); }
    ErrCode removeCellInputHandler(IEventHandler* h) noexcept override { return removeHandler(7, h); }
    ErrCode addColumnResizedHandler(IEventHandler* h) noexcept override { return addHandler(8, h); }
    ErrCode removeColumnResizedHandler(IEventHandler* h) noexcept override { return removeHandler(8, h); }
    ErrCode addRowMovedHandler(IEventHandler* h) noexcept override { return addHandler(9, h); }
    ErrCode removeRowMovedHandler(IEventHandler* h) noexcept override { return removeHandler(9, h); }
    ErrCode addKeyPressedHandler(IEventHandler* h) noexcept override { return addHandler(10, h); }
    ErrCode removeKeyPressedHandler(IEventHandler* h) noexcept override { return removeHandler(10, h); }
    ErrCode addScrolledHandler(IEventHandler* h) noexcept override { return addHandler(11, h); }
    ErrCode removeScrolledHandler(IEventHandler* h) noexcept override { return removeHandler(11, h); }
    ErrCode addFocusChangedHandler(IEventHandler* h) noexcept override { return addHandler(12, h); }
    ErrCode removeFocusChangedHandler(IEventHandler* h) noexcept override { return removeHandler(12, h); }

private:
    struct Cell {
        CellContent content;
        std::optional<bool> checked;    // as the user last set the box
        std::optional<double> topPeak;  // the highest peak given since sizing
    };

    Cell& at(Int row, Int column);
    const Cell& at(Int row, Int column) const;
    void ask(Int row, const DrawGridColumn& column);
    void applyFilter();
    const DrawGridColumn& userCell(Int row, Int column, std::initializer_list<ColumnKind> kinds) const;
    void userRow(Int row) const;
    void writeOwnJson(Json& out) const override;

    Int rows_ = 1;
    Int columns_ = 0;
    std::vector<Ref<DrawGridColumn>> defined_;  // by index; null: not defined
    std::vector<Ref<DrawGridColumn>> applied_;  // what applyColumns took into use
    std::vector<std::vector<Cell>> cells_;      // data rows from 1
    std::vector<bool> passes_;                  // data rows from 1: the search lets it through
    std::set<Int> selection_;
    std::string searchText_;
    bool caseSensitive_ = false;
    bool sortable_ = true;
    bool painting_ = false;
};

}  // namespace vexa::kite
