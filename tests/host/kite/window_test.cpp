// A window and its controls as the plug-in sees them: the interfaces they
// answer, the events they deliver and what the handlers answer, and what
// is left of them once the host drops the window.
#include <gtest/gtest.h>

#include "kite_test_support.h"

namespace kite_test {
namespace {

const std::string everyControl = windowMarkup(R"(
  <StackPanel Name="panel" Spacing="5">
    <Button Name="button" Label="Press"/>
    <Label Name="label" Text="Hello"/>
    <TabControl Name="tabs"/>
    <SearchEdit Name="search"/>
    <NVDrawGrid Name="grid"/>
    <CaptionPanel Name="caption" Title="Frame"><Grid Name="layout"/></CaptionPanel>
  </StackPanel>)");

struct Answer {
    const char* control;
    IntfID interface;
    const char* interfaceName;
    bool answers;
};

class InterfaceAnswers : public ::testing::TestWithParam<Answer> {};

TEST_P(InterfaceAnswers, AControlAnswersExactlyTheInterfacesOfItsType) {
    LoadedWindow loaded(everyControl);
    const Answer& expected = GetParam();
    Component* component = loaded.window->find(expected.control);
    ASSERT_NE(component, nullptr);
    IBaseObject* object = component->sender();
    void* found = nullptr;
    const ErrCode status = object->queryInterface(expected.interface, &found);
    if (!expected.answers) {
        EXPECT_EQ(status, errNoInterface);
        EXPECT_EQ(found, nullptr);
        return;
    }
    ASSERT_EQ(status, errOk);
    auto* answered = static_cast<IBaseObject*>(found);
    EXPECT_EQ(answered->equals(object), 0) << "the same object, whichever interface";
    answered->release();
}

INSTANTIATE_TEST_SUITE_P(
    Window, InterfaceAnswers,
    ::testing::Values(Answer{"button", IButton::Id, "IButton", true}, Answer{"button", IControl::Id, "IControl", true},
                      Answer{"button", IComponent::Id, "IComponent", true},
                      Answer{"button", IUnknown::Id, "IUnknown", true},
                      Answer{"button", ILabel::Id, "ILabel", false},
                      Answer{"button", IParentControl::Id, "IParentControl", false},
                      Answer{"label", ILabel::Id, "ILabel", true}, Answer{"label", IButton::Id, "IButton", false},
                      Answer{"tabs", ITabControl::Id, "ITabControl", true},
                      Answer{"tabs", IParentControl::Id, "IParentControl", true},
                      Answer{"search", ISearchEdit::Id, "ISearchEdit", true},
                      Answer{"grid", INVDrawGrid::Id, "INVDrawGrid", true},
                      Answer{"grid", ILabel::Id, "ILabel", false},
                      Answer{"panel", IParentControl::Id, "IParentControl", true},
                      Answer{"panel", IContentControl::Id, "IContentControl", false},
                      Answer{"layout", IParentControl::Id, "IParentControl", true},
                      Answer{"caption", IWindow::Id, "IWindow", false}),
    [](const ::testing::TestParamInfo<Answer>& given) {
        return std::string(given.param.control) + "_" + given.param.interfaceName;
    });

TEST(Window, AnswersIWindowAndItsControlFactoryAsOneObject) {
    LoadedWindow loaded(everyControl);
    IBaseObject* window = loaded.window->identity();
    auto* factory = &the<IControlFactory>(window);
    EXPECT_NE(as<IWindow>(factory), nullptr);
    EXPECT_NE(as<IContentControl>(window), nullptr);
    EXPECT_EQ(factory->equals(window), 0);
    EXPECT_EQ(as<ITimer>(window), nullptr);
}

TEST(Window, ItsFactoryMakesTimersAndControlsByTypeName) {
    LoadedWindow loaded(everyControl);
    auto* factory = &the<IControlFactory>(loaded.window->identity());
    struct Case {
        const char* type;
        IntfID interface;
        ErrCode status;
    };
    for (const Case& c : {Case{"Timer", ITimer::Id, errOk}, Case{"Button", IButton::Id, errOk},
                          Case{"NVDrawGrid", INVDrawGrid::Id, errOk}, Case{"Window", IWindow::Id, errInvalidParameter},
                          Case{"Slider", IControl::Id, errInvalidParameter}}) {
        Ref<IComponent> made;
        EXPECT_EQ(factory->createControl(str(c.type).get(), str("").get(), made.put()), c.status) << c.type;
        if (c.status == errOk) {
            void* wanted = nullptr;
            EXPECT_EQ(made->borrowInterface(c.interface, &wanted), errOk) << c.type;
        }
    }
    Ref<IComponent> unnamed;
    EXPECT_EQ(factory->createControl(str("Timer").get(), nullptr, unnamed.put()), errOk) << "a null name is no name";
    EXPECT_EQ(factory->createControl(str("Timer").get(), str("button").get(), unnamed.put()), errAlreadyExists);
}

TEST(Events, EveryHandlerIsCalledInOrderWithTheControlAsSenderAndTheFirstFailureIsTheAnswer) {
    LoadedWindow loaded(everyControl);
    Button& button = loaded.control<Button>("button");
    auto first = make<TestHandler>([](IBaseObject*, IEventArgs*) { return errGeneralError; });
    auto second = make<TestHandler>([](IBaseObject*, IEventArgs*) { return errInvalidParameter; });
    ASSERT_EQ(button.addClickHandler(first.get()), errOk);
    ASSERT_EQ(button.addClickHandler(second.get()), errOk);

    EXPECT_EQ(click(*loaded.window, "button"), errGeneralError);
    ASSERT_EQ(first->calls.size(), 1u);
    ASSERT_EQ(second->calls.size(), 1u) << "a failing handler does not stop the others";
    EXPECT_EQ(first->calls[0].sender, button.identity());
    EXPECT_EQ(first->calls[0].event, "Click");
    ASSERT_EQ(loaded.window->failures().size(), 2u);
    EXPECT_EQ(loaded.window->failures()[1].component, "button");
    EXPECT_EQ(loaded.window->failures()[1].status, errInvalidParameter);
}

TEST(Events, RemovalFindsTheHandlerByEqualsAndRefusesOneNeverAdded) {
    LoadedWindow loaded(everyControl);
    Button& button = loaded.control<Button>("button");
    auto added = make<TestHandler>(TestHandler::Body{}, "onClick");
    auto sameBinding = make<TestHandler>(TestHandler::Body{}, "onClick");
    auto other = make<TestHandler>(TestHandler::Body{}, "other");
    ASSERT_EQ(button.addClickHandler(added.get()), errOk);

    EXPECT_EQ(button.removeClickHandler(other.get()), errNotFound);
    EXPECT_EQ(button.removeClickHandler(sameBinding.get()), errOk);
    EXPECT_EQ(button.handlerCount(), 0u);
    EXPECT_EQ(button.addClickHandler(nullptr), errArgumentNull);
}

TEST(Events, AHandlerRemovedByAnEarlierOneIsNotCalled) {
    LoadedWindow loaded(everyControl);
    Button& button = loaded.control<Button>("button");
    auto second = make<TestHandler>();
    auto first = make<TestHandler>([&](IBaseObject*, IEventArgs*) { return button.removeClickHandler(second.get()); });
    button.addClickHandler(first.get());
    button.addClickHandler(second.get());
    EXPECT_EQ(click(*loaded.window, "button"), errOk);
    EXPECT_TRUE(second->calls.empty());
}

TEST(Tabs, OnlyAUsersSelectionThatChangesTheTabRaisesTheEvent) {
    LoadedWindow loaded(everyControl);
    TabControl& tabs = loaded.control<TabControl>("tabs");
    auto changed = make<TestHandler>();
    tabs.addSelectionChangedHandler(changed.get());
    for (const char* title : {"first", "second"}) tabs.addTab(str(title).get(), 1);
    tabs.addTab(str("greyed").get(), 0);
    EXPECT_EQ(tabs.selected(), -1) << "adding tabs selects none";

    EXPECT_EQ(tabs.selectTab(1), errOk);
    EXPECT_EQ(tabs.selectTab(2), errInvalidOperation) << "a greyed tab";
    EXPECT_EQ(tabs.selectTab(3), errOutOfRange);
    EXPECT_TRUE(changed->calls.empty()) << "a programmatic selection raises nothing";

    EXPECT_EQ(selectTab(*loaded.window, "tabs", 1), errOk);
    EXPECT_TRUE(changed->calls.empty()) << "the tab that is already selected";
    EXPECT_EQ(selectTab(*loaded.window, "tabs", 0), errOk);
    ASSERT_EQ(changed->calls.size(), 1u);
    EXPECT_EQ(changed->calls[0].event, "SelectionChanged");
    Int selected = -1;
    tabs.getSelectedIndex(&selected);
    EXPECT_EQ(selected, 0);
}

TEST(Timers, TickInTimeOrderFromTheMomentTheirIntervalIsSet) {
    LoadedWindow loaded(everyControl);
    auto* factory = &the<IControlFactory>(loaded.window->identity());
    std::vector<std::pair<std::string, Int>> ticks;
    auto startTimer = [&](const char* name, Int interval) {
        Ref<IComponent> made;
        EXPECT_EQ(factory->createControl(str("Timer").get(), str(name).get(), made.put()), errOk);
        auto* timer = &the<ITimer>(made.get());
        auto handler = make<TestHandler>([&ticks, &loaded, name](IBaseObject*, IEventArgs*) {
            ticks.emplace_back(name, loaded.clock.now());
            return errOk;
        });
        timer->addTickHandler(handler.get());
        EXPECT_EQ(timer->setInterval(interval), errOk);
        return made;
    };
    const auto slow = startTimer("slow", 250);
    loaded.clock.advance(50);
    const auto fast = startTimer("fast", 100);
    EXPECT_EQ(the<ITimer>(fast.get()).setInterval(0), errOutOfRange);

    loaded.clock.advance(400);
    const std::vector<std::pair<std::string, Int>> expected = {
        {"fast", 150}, {"slow", 250}, {"fast", 250}, {"fast", 350}, {"fast", 450}};
    EXPECT_EQ(ticks, expected) << "equal times: the timer started first ticks first";
    EXPECT_EQ(loaded.clock.now(), 450);
}

TEST(Lifetime, DroppingTheWindowStopsItsTimersAndLetsGoOfEveryHandler) {
    UiClock clock;
    auto window = make<Window>(clock);
    ASSERT_EQ(window->loadMarkup(str(everyControl).get()), errOk);
    auto* factory = &the<IControlFactory>(window->identity());
    Ref<IComponent> timer;
    factory->createControl(str("Timer").get(), str("").get(), timer.put());
    const int before = TestHandler::alive;
    {
        auto tick = make<TestHandler>();
        auto clicked = make<TestHandler>();
        the<ITimer>(timer.get()).addTickHandler(tick.get());
        the<ITimer>(timer.get()).setInterval(10);
        dynamic_cast<Button&>(*window->find("button")).addClickHandler(clicked.get());
        window->addOpenedHandler(clicked.get());
    }
    EXPECT_EQ(TestHandler::alive, before + 2) << "the toolkit holds the handlers";

    Ref<IControl> stillHeld = Ref<IControl>::share(&dynamic_cast<Button&>(*window->find("button")));
    window->drop();
    EXPECT_EQ(TestHandler::alive, before) << "every handler let go of";
    EXPECT_EQ(clock.runningTimers(), 0u);
    clock.advance(100);

    auto late = make<TestHandler>();
    EXPECT_EQ(the<IButton>(stillHeld.get()).addClickHandler(late.get()), errInvalidState);
    EXPECT_EQ(the<ITimer>(timer.get()).setInterval(10), errInvalidState) << "a dropped window's timer stays stopped";
    EXPECT_EQ(window->loadMarkup(str(everyControl).get()), errInvalidState);
    EXPECT_THROW(click(*window, "button"), ActionError);
}

TEST(Lifetime, NewContentStopsTheTimersAndHandlersOfTheOldContent) {
    LoadedWindow loaded(everyControl);
    auto* factory = &the<IControlFactory>(loaded.window->identity());
    Ref<IComponent> timer;
    factory->createControl(str("Timer").get(), str("").get(), timer.put());
    auto tick = make<TestHandler>();
    the<ITimer>(timer.get()).addTickHandler(tick.get());
    the<ITimer>(timer.get()).setInterval(10);
    loaded.control<Button>("button").addClickHandler(tick.get());

    ASSERT_EQ(loaded.window->loadMarkup(str(everyControl).get()), errOk);
    loaded.clock.advance(100);
    EXPECT_TRUE(tick->calls.empty());
    EXPECT_EQ(click(*loaded.window, "button"), errOk);
    EXPECT_TRUE(tick->calls.empty()) << "the new button holds no handler of the old content";
}

}  // namespace
}  // namespace kite_test
