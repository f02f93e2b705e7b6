// The fake toolkit's window: loading markup creates the named controls it
// declares (and every label), and its control factory makes timers.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fake_controls.h"
#include "fake_grid.h"
#include "fake_kite.h"
#include "platform/com.h"

namespace kite_fake {

class FakeWindow;

class FakeFactory final : public FakeObject<IControlFactory> {
public:
    explicit FakeFactory(FakeWindow& window) : window_(window) {}
    ErrCode createControl(IString* typeName, IString* name, IComponent** out) override;

private:
    FakeWindow& window_;
};

class FakeWindow final : public FakeControl<IWindow, IParentControl, IContentControl> {
public:
    // Also answers its control factory, a separate object.
    ErrCode queryInterface(const IntfID& id, void** out) override;
    ErrCode borrowInterface(const IntfID& id, void** out) override;

    ErrCode getChildCount(Int* out) override { return *out = static_cast<Int>(controls.size()), 0; }
    ErrCode getChild(Int, IControl**) override { return Nerova::RT::Core::errNotImplemented; }
    ErrCode findChild(IString* childName, IControl** out) override;
    // Markup without the toolkit's namespace fails, as the toolkit's own
    // loader does.
    ErrCode loadMarkup(IString* markup) override;
    FAKE_TEXT(Title, title)
    ErrCode endDialog(Int result) override { return dialogResults.push_back(result), 0; }
    ErrCode close() override { return ++closes, 0; }
    FAKE_EVENT(Opened, opened)
    FAKE_EVENT(Closing, closing)
    FAKE_EVENT(Closed, closed)

    // A named control of the loaded markup, as its fake class.
    template <class T>
    T& control(const std::string& controlName) {
        return dynamic_cast<T&>(*named.at(controlName).get());
    }
    FakeGrid& grid(const std::string& controlName) { return control<FakeGrid>(controlName); }
    // The texts of every label in the markup, in order.
    std::vector<std::string> labelTexts() const;

    std::string title;
    std::vector<std::string> markups;
    std::vector<ObjectPtr<IControl>> controls;
    std::map<std::string, ObjectPtr<IControl>> named;
    std::vector<ObjectPtr<FakeTimer>> timers;
    // The factory's answer: a timer, no object at all, or a failure.
    enum class TimerSupply { Timer, Nothing, Failure } timerSupply = TimerSupply::Timer;
    // Runs as markup is loaded, before the controls are made.
    std::function<void()> whenLoading;
    std::vector<Int> dialogResults;
    int closes = 0;
    Handlers opened, closing, closed;

private:
    ObjectPtr<FakeFactory> factory_ = make<FakeFactory>(*this);
};

// The window as the COM IUnknown that a host's window event carries.
inline ::IUnknown* asComUnknown(const ObjectPtr<FakeWindow>& window) {
    return reinterpret_cast<::IUnknown*>(static_cast<IUnknown*>(window.get()));
}

}  // namespace kite_fake
