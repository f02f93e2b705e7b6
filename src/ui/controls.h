// The toolkit's simple controls, found in a loaded window by name.
#pragma once

#include <string>

#include "ui/event_args.h"
#include "ui/event_slot.h"
#include "ui/kite_ptr.h"
#include "ui/window_ptr.h"

namespace Nerova::Kite {

class Button : public ControlPtr<IButton> {
public:
    Button() noexcept = default;
    Button(const WindowPtr& window, const std::string& name) { take(lookUpControl<IButton>(window, name)); }
    template <class Source>
    explicit Button(Source* source) : ControlPtr(source) {}
    Button(const Button& other) : ControlPtr(other) {}
    Button(Button&& other) noexcept : ControlPtr(std::move(other)) {}
    Button& operator=(Button other) noexcept {
        ControlPtr::operator=(std::move(other));
        return *this;
    }

    EventSlot<Button, EventArgs> click =
        eventSlot<Button, EventArgs, &IButton::addClickHandler, &IButton::removeClickHandler>(this);
};

class Font : public ObjectPtr<IFont> {
public:
    Font() noexcept = default;
    explicit Font(ObjectPtr<IFont> held) noexcept : ObjectPtr<IFont>(std::move(held)) {}

    void setColor(Color color) const;
};

class Label : public ControlPtr<ILabel> {
public:
    Label() noexcept = default;
    Label(const WindowPtr& window, const std::string& name) { take(lookUpControl<ILabel>(window, name)); }
    template <class Source>
    explicit Label(Source* source) : ControlPtr(source) {}

    void setText(const std::string& text) const;
    Font font() const;
};

class TabControl : public ParentControlPtr<ITabControl> {
public:
    TabControl() noexcept = default;
    TabControl(const WindowPtr& window, const std::string& name) { take(lookUpControl<ITabControl>(window, name)); }
    template <class Source>
    explicit TabControl(Source* source) : ParentControlPtr(source) {}
    TabControl(const TabControl& other) : ParentControlPtr(other) {}
    TabControl(TabControl&& other) noexcept : ParentControlPtr(std::move(other)) {}
    TabControl& operator=(TabControl other) noexcept {
        ParentControlPtr::operator=(std::move(other));
        return *this;
    }

    void addTab(const std::string& title, Int flags) const;
    void selectTab(Int index) const;
    // -1 when there is no tab.
    Int selectedIndex() const;

    EventSlot<TabControl, EventArgs> selectionChanged =
        eventSlot<TabControl, EventArgs, &ITabControl::addSelectionChangedHandler,
                  &ITabControl::removeSelectionChangedHandler>(this);
    EventSlot<TabControl, EventArgs> tabClosed =
        eventSlot<TabControl, EventArgs, &ITabControl::addTabClosedHandler, &ITabControl::removeTabClosedHandler>(
            this);
};

class SearchEdit : public ControlPtr<ISearchEdit> {
public:
    SearchEdit() noexcept = default;
    SearchEdit(const WindowPtr& window, const std::string& name) { take(lookUpControl<ISearchEdit>(window, name)); }
    template <class Source>
    explicit SearchEdit(Source* source) : ControlPtr(source) {}
    SearchEdit(const SearchEdit& other) : ControlPtr(other) {}
    SearchEdit(SearchEdit&& other) noexcept : ControlPtr(std::move(other)) {}
    SearchEdit& operator=(SearchEdit other) noexcept {
        ControlPtr::operator=(std::move(other));
        return *this;
    }

    std::string text() const;

    EventSlot<SearchEdit, EventArgs> textChanged =
        eventSlot<SearchEdit, EventArgs, &ISearchEdit::addTextChangedHandler,
                  &ISearchEdit::removeTextChangedHandler>(this);
};

}  // namespace Nerova::Kite
