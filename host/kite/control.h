// The toolkit's view of what it makes: a component has a name, belongs to
// a window and holds the handlers of its events; a control adds its layout
// attributes and its children. The Kite interfaces are implemented on top
// (ComponentObject and its descendants), so the tree can be walked, drawn
// and written without asking interfaces of anything.
#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "host/kite/event_list.h"
#include "host/kite/kite_call.h"
#include "host/kite/kite_object.h"

namespace vexa::kite {

using Json = nlohmann::ordered_json;  // keys in the order written: type and name first

class Window;

// A scripted user action that no user could do: an unknown control, row or
// column, or a cell of another kind. It changes nothing.
class ActionError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

class Component {
public:
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;
    virtual ~Component() = default;

    virtual int addRef() noexcept = 0;
    virtual int release() noexcept = 0;
    // The markup element name ("Button", ...), or "Timer".
    virtual const char* typeName() const noexcept = 0;
    // The object handed to handlers as the sender of this component's events.
    virtual IBaseObject* sender() noexcept = 0;

    const std::string& name() const noexcept { return name_; }
    void rename(std::string name) { name_ = std::move(name); }
    Window* window() const noexcept { return window_; }
    void attachTo(Window* window) noexcept { window_ = window; }
    // Let go of: no handler of it is called again and none can be added.
    bool retired() const noexcept { return retired_; }
    // Lets go of every handler and of the window.
    virtual void retire() noexcept;

    // How many handlers its events hold, all events together.
    std::size_t handlerCount() const noexcept;

    virtual void writeJson(Json& out) const;

protected:
    explicit Component(std::initializer_list<const char*> events);

    ErrCode addHandler(std::size_t event, IEventHandler* handler) noexcept;
    ErrCode removeHandler(std::size_t event, IEventHandler* handler) noexcept;
    // Calls the event's handlers; failures are noted with the window.
    ErrCode raise(std::size_t event, IEventArgs* args);
    // The same for something the user or the clock did: afterwards the
    // window asks again for everything it shows.
    ErrCode deliver(std::size_t event, IEventArgs* args);

private:
    std::string name_;
    Window* window_ = nullptr;
    bool retired_ = false;
    std::vector<EventList> events_;
};

// Sizes: -1 stands for "Auto" (the markup's default).
inline constexpr Int autoSize = -1;

struct Placement {
    Int row = 0;
    Int column = 0;
    Int columnSpan = 1;
};

class Control : public Component {
public:
    Int width = autoSize;
    Int height = autoSize;
    bool hidden = false;
    Placement placement;
    std::string align;               // empty: not given
    std::optional<Color> background;

    // The control as the handlers' interface.
    virtual IControl* asControl() noexcept = 0;
    // Asks again for whatever it draws through its handlers (grids do).
    virtual void paint() {}

    const std::vector<Ref<Control>>& children() const noexcept { return children_; }
    void appendChild(Ref<Control> child) { children_.push_back(std::move(child)); }
    std::vector<Ref<Control>> takeChildren() noexcept { return std::exchange(children_, {}); }
    // Depth first, in markup order, this control first.
    void forEach(const std::function<void(Control&)>& visit);
    // A descendant of this name (not the control itself), or null.
    Control* findDescendant(const std::string& name);

    void retire() noexcept override;
    void writeJson(Json& out) const override;

protected:
    using Component::Component;
    // What a control of this type adds to its JSON.
    virtual void writeOwnJson(Json&) const {}

private:
    std::vector<Ref<Control>> children_;
};

// The core object of a component offering `I` (and `More`) over `State`.
template <class State, class I, class... More>
class ComponentObject : public KiteObject<I, More...>, public State {
    using Object = KiteObject<I, More...>;

public:
    int addRef() noexcept override { return Object::addRef(); }
    int release() noexcept override { return Object::release(); }
    IBaseObject* sender() noexcept override { return this->identity(); }

    ErrCode getName(IString** out) noexcept override {
        return kiteCall([&] { giveString(out, this->name()); });
    }
    ErrCode setName(IString* value) noexcept override;

protected:
    explicit ComponentObject(std::initializer_list<const char*> events) : State(events) {}
    std::string describe() const override { return std::string("Kite.") + this->typeName() + " " + this->name(); }
};

// Refuses a name that another component of the same window has.
void checkNameIsFree(const Component& component, const std::string& name);

template <class State, class I, class... More>
ErrCode ComponentObject<State, I, More...>::setName(IString* value) noexcept {
    return kiteCall([&] {
        std::string given = textOf(value);
        checkNameIsFree(*this, given);
        this->rename(std::move(given));
    });
}

template <class I, class... More>
class ControlObject : public ComponentObject<Control, I, More...> {
public:
    IControl* asControl() noexcept override { return static_cast<I*>(this); }

    ErrCode getWidth(Int* out) noexcept override { return kiteCall([&] { giveValue(out, this->width); }); }
    ErrCode setWidth(Int value) noexcept override { return resize(this->width, value); }
    ErrCode getHeight(Int* out) noexcept override { return kiteCall([&] { giveValue(out, this->height); }); }
    ErrCode setHeight(Int value) noexcept override { return resize(this->height, value); }
    ErrCode getHidden(Bool* out) noexcept override { return kiteCall([&] { giveValue(out, this->hidden ? 1 : 0); }); }
    ErrCode setHidden(Bool value) noexcept override {
        this->hidden = value != 0;
        return errOk;
    }

protected:
    using ComponentObject<Control, I, More...>::ComponentObject;

private:
    static ErrCode resize(Int& size, Int given) noexcept {
        return kiteCall([&] {
            if (given < 0 && given != autoSize)
                throw KiteError(errOutOfRange, "a size is pixels from 0, or -1 for automatic");
            size = given;
        });
    }
};

template <class I, class... More>
class ParentObject : public ControlObject<I, More...> {
public:
    ErrCode getChildCount(Int* count) noexcept override {
        return kiteCall([&] { giveValue(count, this->children().size()); });
    }
    ErrCode getChild(Int index, IControl** child) noexcept override {
        return kiteCall([&] {
            if (index < 0 || index >= static_cast<Int>(this->children().size()))
                throw KiteError(errOutOfRange, "no child " + std::to_string(index));
            giveObject(child, this->children()[static_cast<std::size_t>(index)]->asControl());
        });
    }
    ErrCode findChild(IString* wanted, IControl** child) noexcept override {
        return kiteCall([&] {
            if (wanted == nullptr) throw KiteError(errArgumentNull, "findChild needs a name");
            Control* found = this->findDescendant(textOf(wanted));
            giveObject(child, found != nullptr ? found->asControl() : nullptr);
        });
    }

protected:
    using ControlObject<I, More...>::ControlObject;
};

}  // namespace vexa::kite
