// The fake toolkit's draw grid, its columns and the arguments of its
// events. Asking for a cell raises the cell-properties or live-value event
// and gives back what the handlers set.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fake_kite.h"

namespace kite_fake {

class FakeColumn final : public FakeObject<IDrawGridColumn> {
public:
    ErrCode getTitle(IString** out) override { return giveText(title, out); }
    FAKE_GET(Int, Kind, kind)
    FAKE_GET(Int, Width, width)
    FAKE_PROPERTY(Bool, Resizable, resizable)

    Int index = 0, kind = 0, flags = 0, width = 0;
    std::string title, key;
    Bool resizable = 1;
};

template <class I>
class FakeGridArgs : public FakeObject<I, IEventArgs, IDrawGridEventArgs> {
public:
    FakeGridArgs(Int r, Int c) : row(r), column(c) {}
    ErrCode getEventName(IString** out) override { return giveText("Cell", out); }
    FAKE_GET(Int, Row, row)
    FAKE_GET(Int, Column, column)

    Int row, column;
};

// What the handlers set for one cell.
class FakeCellProps final : public FakeGridArgs<IDrawGridCellPropsArgs> {
public:
    using FakeGridArgs::FakeGridArgs;
    ErrCode setText(IString* given) override { return text = textOf(given), 0; }
    FAKE_SET(Float, Number, number)
    FAKE_SET(Color, Color, color)

    std::optional<std::string> text;
    std::optional<Float> number;
    std::optional<Color> color;
};

class FakeCellInput final : public FakeGridArgs<IDrawGridCellInputArgs> {
public:
    FakeCellInput(Int r, Int c, std::string text, Color color)
        : FakeGridArgs(r, c), inputText(std::move(text)), inputColor(color) {}
    ErrCode getInputText(IString** out) override { return giveText(inputText, out); }
    FAKE_GET(Color, InputColor, inputColor)

    std::string inputText;
    Color inputColor;
};

class FakeCellAction final : public FakeGridArgs<IDrawGridCellActionEventArgs> {
public:
    FakeCellAction(Int r, Int c, Int state) : FakeGridArgs(r, c), checkState(state) {}
    FAKE_GET(Int, CheckState, checkState)

    Int checkState;
};

// Also records the order of the calls.
class FakeLiveValue final : public FakeGridArgs<IDrawGridLiveValueArgs> {
public:
    using FakeGridArgs::FakeGridArgs;
    ErrCode setText(IString* given) override { return text = textOf(given), calls.push_back("text"), 0; }
    ErrCode setValue(Float given) override { return value = given, calls.push_back("value"), 0; }
    ErrCode setPeak(Float given) override { return peak = given, calls.push_back("peak"), 0; }
    ErrCode setKind(Int given) override { return kind = given, calls.push_back("kind"), 0; }

    std::optional<std::string> text;
    std::optional<Float> value, peak;
    std::optional<Int> kind;
    std::vector<std::string> calls;
};

class FakeGrid final : public FakeControl<INVDrawGrid> {
public:
    ErrCode setSize(Int r, Int c) override { return rows = r, columns = c, 0; }
    ErrCode defineColumn(Int index, IString* title, Int kind, Int flags, Int pixels, IString* key) override;
    ErrCode applyColumns() override { return ++applied, 0; }
    ErrCode getColumn(Int index, IDrawGridColumn** out) override;
    FAKE_SET(Bool, Sortable, sortable)
    ErrCode repaint() override { return ++repaints, 0; }
    FAKE_GET(Int, RowCount, rows)
    ErrCode isRowSelected(Int row, Bool* out) override { return *out = selectedRows.count(row) ? 1 : 0, 0; }
    ErrCode search(IString* text, Int flags) override { return searched.emplace_back(textOf(text), flags), 0; }

    // The events, in the interface's order.
    enum Event { CellClick, CellProperties, CellDoubleClick, LiveValue, HeaderClick, CellAction, SelectionChanged,
                 CellInput, ColumnResized, RowMoved, KeyPressed, Scrolled, FocusChanged, EventCount };
    FAKE_EVENT(CellClick, events[CellClick])
    FAKE_EVENT(CellProperties, events[CellProperties])
    FAKE_EVENT(CellDoubleClick, events[CellDoubleClick])
    FAKE_EVENT(LiveValue, events[LiveValue])
    FAKE_EVENT(HeaderClick, events[HeaderClick])
    FAKE_EVENT(CellAction, events[CellAction])
    FAKE_EVENT(SelectionChanged, events[SelectionChanged])
    FAKE_EVENT(CellInput, events[CellInput])
    FAKE_EVENT(ColumnResized, events[ColumnResized])
    FAKE_EVENT(RowMoved, events[RowMoved])
    FAKE_EVENT(KeyPressed, events[KeyPressed])
    FAKE_EVENT(Scrolled, events[Scrolled])
    FAKE_EVENT(FocusChanged, events[FocusChanged])

    // The toolkit asking for a cell, and the user acting on one. `status`
    // receives the first handler's answer.
    ObjectPtr<FakeCellProps> cell(Int row, Int column, ErrCode* status = nullptr);
    ObjectPtr<FakeLiveValue> live(Int row, Int column);
    std::vector<ErrCode> action(Int row, Int column, Int checkState = 0);
    std::vector<ErrCode> input(Int row, Int column, const std::string& text, Color color = 0);
    // The text a cell shows, "" when the handlers set none.
    std::string text(Int row, Int column);

    Int rows = 0, columns = 0;
    std::vector<ObjectPtr<FakeColumn>> defined;
    int applied = 0, repaints = 0;
    Bool sortable = 1;
    std::set<Int> selectedRows;
    std::vector<std::pair<std::string, Int>> searched;
    Handlers events[EventCount];
};

}  // namespace kite_fake
