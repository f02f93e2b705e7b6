// What the toolkit's tests share: handler objects that record what they
// were given, core strings, and markup in the toolkit's namespace.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/kite/toolkit.h"

namespace kite_test {

using namespace vexa::kite;

inline Ref<IString> str(const std::string& text) { return Ref<IString>::adopt(newString(text)); }

// Wraps `body` in a Window root of the toolkit's namespace.
inline std::string windowMarkup(const std::string& body, const std::string& attributes = "") {
    return std::string("<Window xmlns=\"") + markupNamespace + "\"" + attributes + ">" + body + "</Window>";
}

// One call a handler received.
struct Call {
    std::string event;
    IBaseObject* sender;  // its identity, not counted
    Int row = -1;
    Int column = -1;
};

// A handler that notes each call and then runs `body` (if any), answering
// what it answers. Two handlers with the same non-empty key are equal, as
// two bindings of the same member function to the same window are.
class TestHandler final : public KiteObject<IEventHandler> {
public:
    using Body = std::function<ErrCode(IBaseObject* sender, IEventArgs* args)>;

    explicit TestHandler(Body body = {}, std::string key = {}) : body_(std::move(body)), key_(std::move(key)) {
        ++alive;
    }
    ~TestHandler() override { --alive; }

    ErrCode handleEvent(IBaseObject* sender, IEventArgs* args) noexcept override;
    ErrCode equals(IBaseObject* other) noexcept override;

    std::vector<Call> calls;
    static inline int alive = 0;  // handler objects not yet destroyed

private:
    std::string describe() const override { return "TestHandler " + key_; }
    Body body_;
    std::string key_;
};

inline ErrCode TestHandler::handleEvent(IBaseObject* sender, IEventArgs* args) noexcept {
    Call call{{}, nullptr};
    if (sender != nullptr) sender->borrowInterface(IBaseObject::Id, reinterpret_cast<void**>(&call.sender));
    if (args != nullptr) {
        Ref<IString> name;
        args->getEventName(name.put());
        call.event = textOf(name.get());
        IDrawGridEventArgs* grid = nullptr;
        if (args->borrowInterface(IDrawGridEventArgs::Id, reinterpret_cast<void**>(&grid)) == errOk) {
            grid->getRow(&call.row);
            grid->getColumn(&call.column);
        }
    }
    calls.push_back(call);
    return body_ ? body_(sender, args) : errOk;
}

inline ErrCode TestHandler::equals(IBaseObject* other) noexcept {
    if (other == nullptr) return 1;
    auto* theirs = dynamic_cast<TestHandler*>(other);
    if (theirs == nullptr || key_.empty()) return KiteObject::equals(other);
    return theirs->key_ == key_ ? 0 : 1;
}

// The interface `I` of a toolkit object, borrowed.
template <class I, class T>
I* as(T* object) {
    void* found = nullptr;
    if (object == nullptr || object->borrowInterface(I::Id, &found) != errOk) return nullptr;
    return static_cast<I*>(found);
}

// The same, for a test that needs it: throws when it is not there.
template <class I, class T>
I& the(T* object) {
    I* found = as<I>(object);
    if (found == nullptr) throw std::runtime_error("the object does not answer the interface");
    return *found;
}

// A window on its own clock with `markup` loaded; fails the test when the
// markup is refused.
struct LoadedWindow {
    UiClock clock;
    Ref<Window> window = make<Window>(clock);

    explicit LoadedWindow(const std::string& markup) {
        const ErrCode status = window->loadMarkup(str(markup).get());
        EXPECT_EQ(status, errOk) << takeErrorMessage();
    }
    ~LoadedWindow() { window->drop(); }

    template <class T>
    T& control(const std::string& name) {
        auto* found = dynamic_cast<T*>(window->find(name));
        if (found == nullptr) throw std::runtime_error("no such control in the test markup: " + name);
        return *found;
    }
};

}  // namespace kite_test
