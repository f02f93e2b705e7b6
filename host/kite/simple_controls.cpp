#include "host/kite/simple_controls.h"

#include "host/kite/event_args.h"
#include "host/kite/json_text.h"

namespace vexa::kite {

ErrCode Button::click() {
    auto args = make<EventArgs>("Click");
    return deliver(0, args.get());
}

ErrCode Button::getLabel(IString** out) noexcept {
    return kiteCall([&] { giveString(out, label); });
}

ErrCode Button::setLabel(IString* value) noexcept {
    return kiteCall([&] { label = textOf(value); });
}

void Button::writeOwnJson(Json& out) const { out["label"] = label; }

ErrCode Font::getColor(Color* out) noexcept {
    return kiteCall([&] { giveValue(out, color); });
}

ErrCode Font::setColor(Color value) noexcept {
    color = value;
    return errOk;
}

ErrCode Font::getBold(Bool* out) noexcept {
    return kiteCall([&] { giveValue(out, bold ? 1 : 0); });
}

ErrCode Font::setBold(Bool value) noexcept {
    bold = value != 0;
    return errOk;
}

Label::Label() : ControlObject({}), font_(make<Font>()) {}

ErrCode Label::getText(IString** out) noexcept {
    return kiteCall([&] { giveString(out, text); });
}

ErrCode Label::setText(IString* value) noexcept {
    return kiteCall([&] { text = textOf(value); });
}

ErrCode Label::getFont(IFont** out) noexcept {
    return kiteCall([&] { giveObject(out, font_.get()); });
}

void Label::writeOwnJson(Json& out) const {
    out["text"] = text;
    out["color"] = colorText(font_->color);
    out["bold"] = font_->bold;
}

ErrCode SearchEdit::type(const std::string& typed) {
    if (typed == text) return errOk;
    text = typed;
    auto args = make<EventArgs>("TextChanged");
    return deliver(0, args.get());
}

ErrCode SearchEdit::getText(IString** out) noexcept {
    return kiteCall([&] { giveString(out, text); });
}

ErrCode SearchEdit::setText(IString* value) noexcept {
    return kiteCall([&] { text = textOf(value); });
}

void SearchEdit::writeOwnJson(Json& out) const { out["text"] = text; }

void TabControl::checkSelectable(Int index) const {
    if (index < 0 || index >= static_cast<Int>(tabs_.size()))
        throw KiteError(errOutOfRange, "tab control '" + name() + "' has no tab " + std::to_string(index));
    if (!tabs_[static_cast<std::size_t>(index)].selectable)
        throw KiteError(errInvalidOperation,
                        "tab " + std::to_string(index) + " of '" + name() + "' cannot be selected");
}

ErrCode TabControl::choose(Int index) {
    checkSelectable(index);
    if (index == selected_) return errOk;
    selected_ = index;
    auto args = make<EventArgs>("SelectionChanged");
    return deliver(0, args.get());
}

ErrCode TabControl::addTab(IString* title, Int flags) noexcept {
    return kiteCall([&] { tabs_.push_back({textOf(title), (flags & 1) != 0}); });
}

ErrCode TabControl::getTabCount(Int* out) noexcept {
    return kiteCall([&] { giveValue(out, tabs_.size()); });
}

ErrCode TabControl::getSelectedIndex(Int* out) noexcept {
    return kiteCall([&] { giveValue(out, selected_); });
}

ErrCode TabControl::selectTab(Int index) noexcept {
    return kiteCall([&] {
        checkSelectable(index);
        selected_ = index;
    });
}

void TabControl::writeOwnJson(Json& out) const {
    Json& tabs = out["tabs"] = Json::array();
    for (const Tab& tab : tabs_) tabs.push_back({{"title", tab.title}, {"selectable", tab.selectable}});
    out["selected"] = selected_;
}

}  // namespace vexa::kite
