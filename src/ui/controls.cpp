#include "ui/controls.h"

#include "core/errors.h"

namespace Nerova::Kite {

void Font::setColor(Color color) const {
    if (get() == nullptr) throw RT::Core::InvalidParameterException();
    checkResult(get()->setColor(color));
}

void Label::setText(const std::string& text) const {
    ILabel* label = required();
    StringPtr value(text);
    checkResult(label->setText(value.get()));
}

Font Label::font() const {
    ObjectPtr<IFont> font;
    checkResult(required()->getFont(font.put()));
    return Font(std::move(font));
}

void TabControl::addTab(const std::string& title, Int flags) const {
    ITabControl* tabs = required();
    StringPtr text(title);
    checkResult(tabs->addTab(text.get(), flags));
}

void TabControl::selectTab(Int index) const { checkResult(required()->selectTab(index)); }

Int TabControl::selectedIndex() const {
    Int index = -1;
    checkResult(required()->getSelectedIndex(&index));
    return index;
}

std::string SearchEdit::text() const {
    return textFrom([this](IString** value) { return required()->getText(value); });
}

}  // namespace Nerova::Kite
