// The fake toolkit's simple controls and its timer. Each user action
// raises the event with a fresh arguments object and gives back every
// handler's answer.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "fake_kite.h"

namespace kite_fake {

class FakeButton final : public FakeControl<IButton> {
public:
    FAKE_TEXT(Label, label)
    FAKE_EVENT(Click, clicked)
    std::vector<ErrCode> click();

    std::string label;
    Handlers clicked;
};

class FakeFont final : public FakeObject<IFont> {
public:
    FAKE_PROPERTY(Color, Color, color)
    FAKE_PROPERTY(Bool, Bold, bold)

    Color color = 0x123456;  // none of the colours the windows use
    Bool bold = 0;
};

class FakeLabel final : public FakeControl<ILabel> {
public:
    FAKE_TEXT(Text, text)
    ErrCode getFont(IFont** out) override;

    std::string text;
    ObjectPtr<FakeFont> font = make<FakeFont>();
};

// A selection made by the program raises no event; only the user's does.
class FakeTabControl final : public FakeControl<ITabControl, IParentControl> {
public:
    ErrCode getChildCount(Int* out) override { return *out = 0, 0; }
    ErrCode getChild(Int, IControl**) override { return Nerova::RT::Core::errOutOfRange; }
    ErrCode findChild(IString*, IControl** out) override { return *out = nullptr, 0; }
    ErrCode addTab(IString* title, Int flags) override { return tabs.emplace_back(textOf(title), flags), 0; }
    ErrCode getTabCount(Int* out) override { return *out = static_cast<Int>(tabs.size()), 0; }
    FAKE_GET(Int, SelectedIndex, selected)
    ErrCode selectTab(Int index) override { return selected = index, 0; }
    FAKE_EVENT(SelectionChanged, selectionChanged)
    FAKE_EVENT(TabClosed, tabClosed)
    // The user picks tab `index`.
    std::vector<ErrCode> pick(Int index);

    std::vector<std::pair<std::string, Int>> tabs;
    Int selected = -1;
    Handlers selectionChanged, tabClosed;
};

class FakeSearchEdit final : public FakeControl<ISearchEdit> {
public:
    FAKE_TEXT(Text, text)
    FAKE_EVENT(TextChanged, textChanged)
    std::vector<ErrCode> type(const std::string& given);

    std::string text;
    Handlers textChanged;
};

class FakeTimer final : public FakeObject<ITimer, IComponent> {
public:
    FAKE_TEXT(Name, name)
    FAKE_PROPERTY(Int, Interval, interval)
    FAKE_EVENT(Tick, ticked)
    std::vector<ErrCode> tick();

    std::string name;
    Int interval = 0;
    Handlers ticked;
};

}  // namespace kite_fake
