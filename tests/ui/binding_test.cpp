// The typed layer over the toolkit, on the reference host's toolkit:
// finding controls, subscribing, and the handler objects it calls back.
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>

// Registers the exception classes, so that statuses come back as them.
#include "core/core_library.h"
#include "core/exception_registry.h"
#include "platform/dynamic_library.h"
#include "ui/controls.h"
#include "ui/life_token.h"
#include "ui/nv_window.h"
#include "ui/timer.h"
#include "window_fixture.h"

namespace window_test {
namespace {

using namespace Nerova::RT::Core;
using namespace Nerova::Kite;

struct Outcome {
    ErrCode code = 0;
    std::string text;
};

// What `action` threw, or code 0 when it threw nothing.
Outcome outcomeOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const NvrtException& error) {
        return {error.code(), error.what()};
    }
    return {};
}

class Binding : public ::testing::Test {
protected:
    Binding() {
        const std::string markup = std::string("<Window xmlns=\"") + markupNamespace + "\"><StackPanel>" +
                                   "<Button Name=\"go\"/><Label Name=\"note\" Text=\"x\"/></StackPanel></Window>";
        window.loadMarkup(markup);
    }
    ~Binding() override { host->drop(); }

    // A handler target whose handler counts its calls and may throw.
    struct Target {
        void onClick(const Button&, const EventArgs&) {
            ++calls;
            if (fault) fault();
        }
        void onTick(const Timer&, const EventArgs&) {}
        int calls = 0;
        std::function<void()> fault;
    };
    IBaseObject* senderOf(const char* name) const { return host->find(name)->sender(); }

    kite::UiClock clock;
    kite::Ref<kite::Window> host = kite::make<kite::Window>(clock);
    WindowPtr window = windowPtrOf(*host);
    Target target;
    LifeToken life;
    HandlerDelegate<Button, EventArgs> onClick = bindHandler(&Target::onClick, &target, life.watch());
};

TEST_F(Binding, ControlLookupFindsByNameAndChecksTheType) {
    const struct {
        const char* what;
        std::function<void()> lookup;
        Outcome expected;
    } cases[] = {
        {"a button by its name", [&] { EXPECT_TRUE(Button(window, "go")); }, {}},
        {"an unknown name gives an empty wrapper", [&] { EXPECT_FALSE(Label(window, "missing")); }, {}},
        {"a button's name asked as a label", [&] { Label(window, "go"); },
         {errNoInterface, "Invalid cast. The object does not implement this interface."}},
        {"no window", [] { Button(WindowPtr(), "go"); }, {errInvalidParameter, "Window must not be null."}},
        {"an operation on an empty wrapper", [&] { Label(window, "missing").setText("x"); },
         {errInvalidParameter, "Invalid parameter"}},
        {"no control factory", [] { Timer{WindowPtr().controlFactory()}; },
         {errInvalidParameter, "ControlFactory must not be null."}},
    };
    for (const auto& c : cases) {
        const Outcome outcome = outcomeOf(c.lookup);
        EXPECT_EQ(outcome.code, c.expected.code) << c.what;
        EXPECT_EQ(outcome.text, c.expected.text) << c.what;
    }
}

TEST_F(Binding, SubscriptionChecksTheCallableThenTheControlThenTheMethod) {
    const Button empty(window, "missing");
    const Button go(window, "go");
    EventSlot<Button, EventArgs> noMethod = go.click;
    noMethod.subscribe = nullptr;
    const struct {
        const char* what;
        const EventSlot<Button, EventArgs>& event;
        HandlerDelegate<Button, EventArgs> delegate;
        const char* expected;
    } cases[] = {
        {"no callable, no control", empty.click, {}, "Must bind to a valid callable."},
        {"no control", empty.click, onClick, "Invalid or uninitialized control."},
        {"no subscribe method", noMethod, onClick, "No subscribe method defined"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = outcomeOf([&] { subscribe(c.event, c.delegate); });
        EXPECT_EQ(outcome.code, errInvalidParameter) << c.what;
        EXPECT_EQ(outcome.text, c.expected) << c.what;
    }
    EXPECT_EQ(host->find("go")->handlerCount(), 0u);
}

TEST_F(Binding, TheToolkitAloneHoldsASubscribedHandlerAndFindsItAgainForRemoval) {
    Button go(window, "go");
    const long watchers = life.watch().use_count();
    subscribe(go.click, onClick);
    EXPECT_EQ(host->find("go")->handlerCount(), 1u);
    EXPECT_EQ(life.watch().use_count(), watchers + 1) << "the handler's copy of the binding";
    EXPECT_EQ(kite::click(*host, "go"), errOk);
    EXPECT_EQ(target.calls, 1);

    // A copied wrapper raises the same events through its own slots.
    const Button copy = go;
    EXPECT_EQ(copy.click.owner, &copy);
    unsubscribe(copy.click, bindHandler(&Target::onClick, &target, life.watch()));
    EXPECT_EQ(host->find("go")->handlerCount(), 0u);
    EXPECT_EQ(life.watch().use_count(), watchers) << "nothing but the toolkit held the handler";
}

TEST_F(Binding, HandlersAnswerTheToolkitWithAStatusAndNeverThrow) {
    auto handler = createObject<EventHandlerImpl<Button, EventArgs>>(onClick);
    const struct {
        const char* what;
        std::function<void()> fault;
        ErrCode expected;
    } cases[] = {
        {"nothing thrown", nullptr, errOk},
        {"an exception of the core family", [] { throw NotFoundException(); }, errNotFound},
        {"a standard exception", [] { throw std::invalid_argument("stoi"); }, errGeneralError},
        {"a failed allocation", [] { throw std::bad_alloc(); }, errGeneralError},
        {"anything else", [] { throw 7; }, errGeneralError},
    };
    for (const auto& c : cases) {
        target.fault = c.fault;
        EXPECT_EQ(handler->handleEvent(senderOf("go"), nullptr), c.expected) << c.what;
    }
    EXPECT_EQ(target.calls, 5);
    target.fault = nullptr;

    // A sender of another kind is refused before the window sees the event.
    EXPECT_EQ(handler->handleEvent(senderOf("note"), nullptr), errNoInterface);
    EXPECT_EQ(handler->handleEvent(nullptr, nullptr), errOk) << "no sender and no arguments";
    EXPECT_EQ(target.calls, 6);
}

TEST_F(Binding, AHandlerOfADeadWindowDoesNothing) {
    auto token = std::make_unique<LifeToken>();
    subscribe(Button(window, "go").click, bindHandler(&Target::onClick, &target, token->watch()));
    token.reset();
    EXPECT_EQ(kite::click(*host, "go"), errOk);
    EXPECT_EQ(target.calls, 0);
}

// A window that fails after it subscribed, as a window whose later steps
// fail does.
class FailingDialog final : public NVDialog {
public:
    explicit FailingDialog(WindowPtr window, int& clicks) : NVDialog(std::move(window), "ui/modal_window.xml"),
                                                            clicks_(clicks) {
        subscribe(Button(this->window(), "closeButton").click, handler(&FailingDialog::onClick));
        throw std::runtime_error("failed after subscribing");
    }

private:
    void onClick(const Button&, const EventArgs&) { ++clicks_; }
    int& clicks_;
};

TEST_F(Binding, AWindowThatFailedAfterSubscribingLeavesHandlersThatDoNothing) {
    int clicks = 0;
    EXPECT_THROW(FailingDialog(window, clicks), std::runtime_error);
    EXPECT_EQ(kite::click(*host, "closeButton"), errOk);
    EXPECT_EQ(clicks, 0);
}

TEST(HandlerIdentity, IsFnv1aOverTheFunctionThenTheObjectAddress) {
    EXPECT_EQ(identityHash(0, 0), 0x88201fb960ff6465ull) << "sixteen zero bytes";
    EXPECT_NE(identityHash(1, 0), identityHash(0, 1)) << "the order counts";
}

using HandlerObject = Binding;

TEST_F(HandlerObject, NamesItsType) {
    auto handler = createObject<EventHandlerImpl<Button, EventArgs>>(onClick);
    CharPtr text = nullptr;
    ASSERT_EQ(handler->toString(&text), errOk);
    EXPECT_STREQ(text, "Nerova::Kite::IEventHandler::nvrtType");
    static const auto runtime = vexa::DynamicLibrary::openLoaded(CoreTypesLibrary::fileName());
    runtime.function<void (*)(void*)>("nvRtFreeMemory")(text);
}

TEST_F(HandlerObject, EqualsAHandlerOfTheSameKindBoundToTheSameFunctionAndObject) {
    Target other;
    auto handler = [](auto delegate) { return createObject<EventHandlerImpl<Button, EventArgs>>(delegate); };
    const auto mine = handler(onClick);
    // A tick handler built to carry the very same identity.
    HandlerDelegate<Timer, EventArgs> sameHash = bindHandler(&Target::onTick, &target, life.watch());
    sameHash.hash = onClick.hash;
    const struct {
        const char* what;
        ObjectPtr<IEventHandler> other;
        ErrCode expected;
    } cases[] = {
        {"the same binding again", handler(bindHandler(&Target::onClick, &target, life.watch())), 0},
        {"another object", handler(bindHandler(&Target::onClick, &other, life.watch())), 1},
        {"another kind of handler", createObject<EventHandlerImpl<Timer, EventArgs>>(sameHash), 1},
        {"no object", {}, 1},
    };
    for (const auto& c : cases) EXPECT_EQ(mine->equals(c.other.get()), c.expected) << c.what;
    EXPECT_EQ(mine->equals(senderOf("go")), 1) << "an object that is no handler";
}

TEST_F(Binding, TimersComeFromTheWindowsControlFactory) {
    const Timer timer(window.controlFactory());
    timer.setInterval(250);
    ASSERT_EQ(host->timers().size(), 1u);
    EXPECT_EQ(host->timers()[0]->interval(), 250);
}

}  // namespace
}  // namespace window_test
