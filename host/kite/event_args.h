// The argument objects the toolkit hands its handlers. A cell-properties or
// live-value argument collects what the handler sets; the grid draws that.
#pragma once

#include <optional>
#include <string>

#include "host/kite/kite_object.h"

namespace vexa::kite {

// What a grid cell shows, as its handler set it. Empty parts were not set.
struct CellContent {
    std::optional<std::string> text;
    std::optional<double> number;
    std::optional<Color> color;
    // Live-value cells.
    std::optional<double> value;
    std::optional<double> peak;
    std::optional<Int> kind;
};

class EventArgs final : public KiteObject<IEventArgs> {
public:
    explicit EventArgs(std::string name) : name_(std::move(name)) {}
    ErrCode getEventName(IString** name) noexcept override;

private:
    std::string describe() const override { return "Kite.EventArgs " + name_; }
    std::string name_;
};

// The part every grid argument shares: the event's name and its cell.
template <class I>
class GridArgs : public KiteObject<I> {
public:
    GridArgs(std::string name, Int row, Int column) : name_(std::move(name)), row_(row), column_(column) {}

    ErrCode getEventName(IString** name) noexcept override;
    ErrCode getRow(Int* row) noexcept override;
    ErrCode getColumn(Int* column) noexcept override;

private:
    std::string describe() const override;
    std::string name_;
    Int row_;
    Int column_;
};

using GridEventArgs = GridArgs<IDrawGridEventArgs>;

class CellPropsArgs final : public GridArgs<IDrawGridCellPropsArgs> {
public:
    CellPropsArgs(Int row, Int column) : GridArgs("CellProperties", row, column) {}
    ErrCode setText(IString* text) noexcept override;
    ErrCode setNumber(Float number) noexcept override;
    ErrCode setColor(Color color) noexcept override;
    const CellContent& content() const noexcept { return content_; }

private:
    CellContent content_;
};

class LiveValueArgs final : public GridArgs<IDrawGridLiveValueArgs> {
public:
    LiveValueArgs(Int row, Int column) : GridArgs("LiveValue", row, column) {}
    ErrCode setText(IString* text) noexcept override;
    ErrCode setValue(Float value) noexcept override;
    ErrCode setPeak(Float peak) noexcept override;
    // Kinds 1 to 3 (LiveValueKind); anything else is refused.
    ErrCode setKind(Int kind) noexcept override;
    const CellContent& content() const noexcept { return content_; }

private:
    CellContent content_;
};

class CellInputArgs final : public GridArgs<IDrawGridCellInputArgs> {
public:
    CellInputArgs(Int row, Int column, std::string text, Color color)
        : GridArgs("CellInput", row, column), text_(std::move(text)), color_(color) {}
    ErrCode getInputText(IString** text) noexcept override;
    ErrCode getInputColor(Color* color) noexcept override;

private:
    std::string text_;
    Color color_;
};

class CellActionArgs final : public GridArgs<IDrawGridCellActionEventArgs> {
public:
    CellActionArgs(Int row, Int column, Int state) : GridArgs("CellAction", row, column), state_(state) {}
    ErrCode getCheckState(Int* state) noexcept override;

private:
    Int state_;
};

}  // namespace vexa::kite
