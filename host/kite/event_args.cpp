#include "host/kite/event_args.h"

#include "host/kite/kite_call.h"

namespace vexa::kite {

ErrCode EventArgs::getEventName(IString** name) noexcept {
    return kiteCall([&] { giveString(name, name_); });
}

template <class I>
ErrCode GridArgs<I>::getEventName(IString** name) noexcept {
    return kiteCall([&] { giveString(name, name_); });
}

template <class I>
ErrCode GridArgs<I>::getRow(Int* row) noexcept {
    return kiteCall([&] { giveValue(row, row_); });
}

template <class I>
ErrCode GridArgs<I>::getColumn(Int* column) noexcept {
    return kiteCall([&] { giveValue(column, column_); });
}

template <class I>
std::string GridArgs<I>::describe() const {
    return "Kite.DrawGridEventArgs " + name_ + " (" + std::to_string(row_) + ", " + std::to_string(column_) + ")";
}

template class GridArgs<IDrawGridEventArgs>;
template class GridArgs<IDrawGridCellPropsArgs>;
template class GridArgs<IDrawGridLiveValueArgs>;
template class GridArgs<IDrawGridCellInputArgs>;
template class GridArgs<IDrawGridCellActionEventArgs>;

ErrCode CellPropsArgs::setText(IString* text) noexcept {
    return kiteCall([&] { content_.text = textOf(text); });
}

ErrCode CellPropsArgs::setNumber(Float number) noexcept {
    content_.number = number;
    return errOk;
}

ErrCode CellPropsArgs::setColor(Color color) noexcept {
    content_.color = color;
    return errOk;
}

ErrCode LiveValueArgs::setText(IString* text) noexcept {
    return kiteCall([&] { content_.text = textOf(text); });
}

ErrCode LiveValueArgs::setValue(Float value) noexcept {
    content_.value = value;
    return errOk;
}

ErrCode LiveValueArgs::setPeak(Float peak) noexcept {
    content_.peak = peak;
    return errOk;
}

ErrCode LiveValueArgs::setKind(Int kind) noexcept {
    return kiteCall([&] {
        if (kind < static_cast<Int>(LiveValueKind::Text) || kind > static_cast<Int>(LiveValueKind::TextAndBar))
            throw KiteError(errInvalidParameter, "live value kind " + std::to_string(kind) + " is not 1, 2 or 3");
        content_.kind = kind;
    });
}

ErrCode CellInputArgs::getInputText(IString** text) noexcept {
    return kiteCall([&] { giveString(text, text_); });
}

ErrCode CellInputArgs::getInputColor(Color* color) noexcept {
    return kiteCall([&] { giveValue(color, color_); });
}

ErrCode CellActionArgs::getCheckState(Int* state) noexcept {
    return kiteCall([&] { giveValue(state, state_); });
}

}  // namespace vexa::kite
