// The controls with a little state of their own: buttons, labels and their
// fonts, search edits and tab controls. The operations without "I" in
// front of their interface (click, type, choose) are what a user does.
#pragma once

#include <string>
#include <vector>

#include "host/kite/control.h"

namespace vexa::kite {

class Button final : public ControlObject<IButton> {
public:
    Button() : ControlObject({"Click"}) {}
    const char* typeName() const noexcept override { return "Button"; }

    std::string label;

    // The user clicks it; answers the handlers' status.
    ErrCode click();

    ErrCode getLabel(IString** out) noexcept override;
    ErrCode setLabel(IString* value) noexcept override;
    ErrCode addClickHandler(IEventHandler* handler) noexcept override { return addHandler(0, handler); }
    ErrCode removeClickHandler(IEventHandler* handler) noexcept override { return removeHandler(0, handler); }

private:
    void writeOwnJson(Json& out) const override;
};

class Font final : public KiteObject<IFont> {
public:
    Color color = 0;
    bool bold = false;

    ErrCode getColor(Color* out) noexcept override;
    ErrCode setColor(Color value) noexcept override;
    ErrCode getBold(Bool* out) noexcept override;
    ErrCode setBold(Bool value) noexcept override;

private:
    std::string describe() const override { return "Kite.Font"; }
};

class Label final : public ControlObject<ILabel> {
public:
    Label();
    const char* typeName() const noexcept override { return "Label"; }

    std::string text;
    const Font& font() const noexcept { return *font_; }

    ErrCode getText(IString** out) noexcept override;
    ErrCode setText(IString* value) noexcept override;
    ErrCode getFont(IFont** out) noexcept override;

private:
    void writeOwnJson(Json& out) const override;
    Ref<Font> font_;
};

class SearchEdit final : public ControlObject<ISearchEdit> {
public:
    SearchEdit() : ControlObject({"TextChanged"}) {}
    const char* typeName() const noexcept override { return "SearchEdit"; }

    std::string text;

    // The user types until the edit holds `typed`; the text-change event
    // comes only when the text changed.
    ErrCode type(const std::string& typed);

    ErrCode getText(IString** out) noexcept override;
    ErrCode setText(IString* value) noexcept override;
    ErrCode addTextChangedHandler(IEventHandler* handler) noexcept override { return addHandler(0, handler); }
    ErrCode removeTextChangedHandler(IEventHandler* handler) noexcept override {
        return removeHandler(0, handler);
    }

private:
    void writeOwnJson(Json& out) const override;
};

class TabControl final : public ParentObject<ITabControl> {
public:
    TabControl() : ParentObject({"SelectionChanged", "TabClosed"}) {}
    const char* typeName() const noexcept override { return "TabControl"; }

    struct Tab {
        std::string title;
        bool selectable;
    };
    const std::vector<Tab>& tabs() const noexcept { return tabs_; }
    Int selected() const noexcept { return selected_; }

    // Throws KiteError: no such tab, or one shown greyed.
    void checkSelectable(Int index) const;
    // The user picks a tab; the selection event comes only when the
    // selection changed.
    ErrCode choose(Int index);

    ErrCode addTab(IString* title, Int flags) noexcept override;
    ErrCode getTabCount(Int* out) noexcept override;
    ErrCode getSelectedIndex(Int* out) noexcept override;
    ErrCode selectTab(Int index) noexcept override;
    ErrCode addSelectionChangedHandler(IEventHandler* handler) noexcept override { return addHandler(0, handler); }
    ErrCode removeSelectionChangedHandler(IEventHandler* handler) noexcept override {
        return removeHandler(0, handler);
    }
    ErrCode addTabClosedHandler(IEventHandler* handler) noexcept override { return addHandler(1, handler); }
    ErrCode removeTabClosedHandler(IEventHandler* handler) noexcept override { return removeHandler(1, handler); }

private:
    void writeOwnJson(Json& out) const override;
    std::vector<Tab> tabs_;
    Int selected_ = -1;
};

}  // namespace vexa::kite
