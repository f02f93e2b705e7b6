#include "host/kite/control.h"

#include <numeric>

#include "host/kite/json_text.h"
#include "host/kite/window.h"

namespace vexa::kite {

Component::Component(std::initializer_list<const char*> events) {
    events_.reserve(events.size());
    for (const char* event : events) events_.emplace_back(event);
}

void Component::retire() noexcept {
    retired_ = true;
    window_ = nullptr;
    for (EventList& event : events_) event.clear();
}

std::size_t Component::handlerCount() const noexcept {
    return std::accumulate(events_.begin(), events_.end(), std::size_t{0},
                           [](std::size_t sum, const EventList& event) { return sum + event.size(); });
}

ErrCode Component::addHandler(std::size_t event, IEventHandler* handler) noexcept {
    return kiteCall([&] {
        if (retired_)
            throw KiteError(errInvalidState, "the window of " + std::string(typeName()) + " '" + name_ +
                                                 "' is gone: it takes no handlers");
        events_.at(event).add(handler);
    });
}

ErrCode Component::removeHandler(std::size_t event, IEventHandler* handler) noexcept {
    return kiteCall([&] {
        if (retired_) return;  // it holds none
        events_.at(event).remove(handler);
    });
}

ErrCode Component::raise(std::size_t event, IEventArgs* args) {
    if (retired_) return errOk;
    // A handler may take the last reference to this component away.
    const Ref<Component> self = Ref<Component>::share(this);
    Window* window = window_;
    return events_.at(event).raise(sender(), args, [this, window](const std::string& name, ErrCode status) {
        if (window != nullptr) window->noteFailure(name_, name, status);
    });
}

ErrCode Component::deliver(std::size_t event, IEventArgs* args) {
    const Ref<Component> self = Ref<Component>::share(this);
    const ErrCode status = raise(event, args);
    if (window_ != nullptr) window_->refresh();
    return status;
}

void Component::writeJson(Json& out) const {
    out["type"] = typeName();
    if (!name_.empty()) out["name"] = name_;
}

void Control::forEach(const std::function<void(Control&)>& visit) {
    visit(*this);
    // A copy: a visit may change the tree.
    const std::vector<Ref<Control>> now = children_;
    for (const Ref<Control>& child : now) child->forEach(visit);
}

Control* Control::findDescendant(const std::string& wanted) {
    for (const Ref<Control>& child : children_) {
        if (child->name() == wanted) return child.get();
        if (Control* found = child->findDescendant(wanted)) return found;
    }
    return nullptr;
}

void Control::retire() noexcept {
    Component::retire();
    for (const Ref<Control>& child : children_) child->retire();
}

void Control::writeJson(Json& out) const {
    Component::writeJson(out);
    out["hidden"] = hidden;
    if (width != autoSize) out["width"] = width;
    if (height != autoSize) out["height"] = height;
    if (placement.row != 0) out["row"] = placement.row;
    if (placement.column != 0) out["column"] = placement.column;
    if (placement.columnSpan != 1) out["columnSpan"] = placement.columnSpan;
    if (!align.empty()) out["align"] = align;
    if (background) out["background"] = colorText(*background);
    writeOwnJson(out);
    if (children_.empty()) return;
    Json& children = out["children"] = Json::array();
    for (const Ref<Control>& child : children_) {
        Json written = Json::object();
        child->writeJson(written);
        children.push_back(std::move(written));
    }
}

void checkNameIsFree(const Component& component, const std::string& name) {
    Window* window = component.window();
    if (window == nullptr || name.empty()) return;
    const Component* holder = window->find(name);
    if (holder != nullptr && holder != &component)
        throw KiteError(errAlreadyExists, "the window already has a control named '" + name + "'");
}

}  // namespace vexa::kite
