#include <regex>
#include <tuple>

#include "fake_window.h"

namespace kite_fake {

ErrCode giveText(const std::string& text, IString** out) {
    Nerova::RT::Core::StringPtr string(text);
    *out = string.release();
    return 0;
}

std::string textOf(IString* text) {
    Nerova::RT::Core::ConstCharPtr chars = nullptr;
    if (text == nullptr || text->getCharPtr(&chars) != 0 || chars == nullptr) return {};
    return chars;
}

namespace {

// Hands out `object` with a reference of the receiver's own.
template <class T, class I>
ErrCode give(const ObjectPtr<T>& object, I** out) {
    object->addRef();
    *out = object.get();
    return 0;
}

std::vector<ErrCode> raiseSimple(const Handlers& handlers, IBaseObject* sender) {
    return handlers.raise(sender, make<FakeEventArgs>().get());
}

}  // namespace

ErrCode Handlers::add(IEventHandler* handler) {
    if (handler == nullptr) return Nerova::RT::Core::errArgumentNull;
    handler->addRef();
    list_.emplace_back().reset(handler);
    return 0;
}

ErrCode Handlers::remove(IEventHandler* handler) {
    for (auto it = list_.begin(); it != list_.end(); ++it) {
        if ((*it)->equals(handler) == 0) {
            list_.erase(it);
            return 0;
        }
    }
    return Nerova::RT::Core::errNotFound;
}

std::vector<ErrCode> Handlers::raise(IBaseObject* sender, IEventArgs* args) const {
    std::vector<ErrCode> statuses;
    for (const auto& handler : list_) statuses.push_back(handler->handleEvent(sender, args));
    return statuses;
}

std::vector<ErrCode> FakeButton::click() { return raiseSimple(clicked, this); }

ErrCode FakeLabel::getFont(IFont** out) { return give(font, out); }

std::vector<ErrCode> FakeTabControl::pick(Int index) {
    selected = index;
    return raiseSimple(selectionChanged, this);
}

std::vector<ErrCode> FakeSearchEdit::type(const std::string& given) {
    text = given;
    return raiseSimple(textChanged, this);
}

std::vector<ErrCode> FakeTimer::tick() { return raiseSimple(ticked, this); }

ErrCode FakeGrid::defineColumn(Int index, IString* title, Int kind, Int flags, Int pixels, IString* key) {
    auto& column = *defined.emplace_back(make<FakeColumn>()).get();
    std::tie(column.index, column.title, column.key, column.kind, column.flags, column.width) =
        std::tuple(index, textOf(title), textOf(key), kind, flags, pixels);
    return 0;
}

ErrCode FakeGrid::getColumn(Int index, IDrawGridColumn** out) {
    for (const auto& column : defined) {
        if (column->index == index) return give(column, out);
    }
    return Nerova::RT::Core::errOutOfRange;
}

ObjectPtr<FakeCellProps> FakeGrid::cell(Int row, Int column, ErrCode* status) {
    auto args = make<FakeCellProps>(row, column);
    const auto statuses = events[CellProperties].raise(this, args.get());
    if (status != nullptr) *status = statuses.empty() ? 0 : statuses.front();
    return args;
}

ObjectPtr<FakeLiveValue> FakeGrid::live(Int row, Int column) {
    auto args = make<FakeLiveValue>(row, column);
    events[LiveValue].raise(this, args.get());
    return args;
}

std::vector<ErrCode> FakeGrid::action(Int row, Int column, Int checkState) {
    return events[CellAction].raise(this, make<FakeCellAction>(row, column, checkState).get());
}

std::vector<ErrCode> FakeGrid::input(Int row, Int column, const std::string& text, Color color) {
    return events[CellInput].raise(this, make<FakeCellInput>(row, column, text, color).get());
}

std::string FakeGrid::text(Int row, Int column) { return cell(row, column)->text.value_or(""); }

ErrCode FakeFactory::createControl(IString* typeName, IString*, IComponent** out) {
    *out = nullptr;
    if (textOf(typeName) != "Timer") return Nerova::RT::Core::errNotImplemented;
    switch (window_.timerSupply) {
    case FakeWindow::TimerSupply::Failure: return Nerova::RT::Core::errGeneralError;
    case FakeWindow::TimerSupply::Nothing: return 0;
    case FakeWindow::TimerSupply::Timer: break;
    }
    return give(window_.timers.emplace_back(make<FakeTimer>()), out);
}

ErrCode FakeWindow::queryInterface(const IntfID& id, void** out) {
    if (id == IControlFactory::Id && out != nullptr) return factory_->queryInterface(id, out);
    return FakeControl::queryInterface(id, out);
}

ErrCode FakeWindow::borrowInterface(const IntfID& id, void** out) {
    if (id == IControlFactory::Id && out != nullptr) return factory_->borrowInterface(id, out);
    return FakeControl::borrowInterface(id, out);
}

ErrCode FakeWindow::findChild(IString* childName, IControl** out) {
    const auto found = named.find(textOf(childName));
    if (found == named.end()) return *out = nullptr, 0;
    return give(found->second, out);
}

namespace {

std::string attribute(const std::string& element, const std::string& name) {
    std::smatch found;
    const std::regex pattern("\\s" + name + "=\"([^\"]*)\"");
    return std::regex_search(element, found, pattern) ? found[1].str() : std::string();
}

ObjectPtr<IControl> controlFor(const std::string& type, const std::string& element) {
    ObjectPtr<IControl> control;
    if (type == "Button") control.reset(make<FakeButton>().release());
    if (type == "TabControl") control.reset(make<FakeTabControl>().release());
    if (type == "SearchEdit") control.reset(make<FakeSearchEdit>().release());
    if (type == "NVDrawGrid") control.reset(make<FakeGrid>().release());
    if (type == "Label") {
        auto label = make<FakeLabel>();
        label->text = attribute(element, "Text");
        control.reset(label.release());
    }
    return control;
}

}  // namespace

ErrCode FakeWindow::loadMarkup(IString* markup) {
    const std::string text = textOf(markup);
    if (text.find(std::string("xmlns=\"") + markupNamespace + "\"") == std::string::npos) {
        return Nerova::RT::Core::errParseFailed;
    }
    if (whenLoading) whenLoading();
    markups.push_back(text);
    controls.clear();
    named.clear();
    const std::regex element("<(\\w+)(\\s[^>]*)?>");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), element); it != std::sregex_iterator(); ++it) {
        const std::string tag = (*it)[0].str();
        ObjectPtr<IControl> control = controlFor((*it)[1].str(), tag);
        if (!control) continue;
        const std::string controlName = attribute(tag, "Name");
        if (!controlName.empty()) named[controlName] = control;
        controls.push_back(std::move(control));
    }
    return 0;
}

std::vector<std::string> FakeWindow::labelTexts() const {
    std::vector<std::string> texts;
    for (const auto& control : controls) {
        if (auto* label = dynamic_cast<FakeLabel*>(control.get())) texts.push_back(label->text);
    }
    return texts;
}

}  // namespace kite_fake
