// The page's actions as the toolkit's user actions: each reaches the
// handler it should with what the user gave, and one no user could do
// reaches none and says why.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../kite/kite_test_support.h"
#include "host/live/window_actions.h"

namespace {

using namespace kite_test;
using vexa::live::performAction;

class WindowActions : public ::testing::Test {
protected:
    void SetUp() override {
        auto& grid = page.control<DrawGrid>("grid");
        ASSERT_EQ(grid.setSize(3, 4), errOk);
        const std::pair<const char*, ColumnKind> columns[] = {{"edit", ColumnKind::EditableText},
                                                              {"check", ColumnKind::CheckBox},
                                                              {"colour", ColumnKind::ColorPick},
                                                              {"press", ColumnKind::Button}};
        for (Int k = 0; k < 4; ++k)
            ASSERT_EQ(grid.defineColumn(k, str(columns[k].first).get(), static_cast<Int>(columns[k].second), 1, 50,
                                        str(columns[k].first).get()),
                      errOk);
        ASSERT_EQ(grid.applyColumns(), errOk);
        grid.addCellInputHandler(noting("input").get());
        grid.addCellActionHandler(noting("action").get());
        grid.addSelectionChangedHandler(noting("selection").get());
        page.control<Button>("go").addClickHandler(noting("click").get());
        auto& tabs = page.control<TabControl>("tabs");
        tabs.addTab(str("one").get(), 1);
        tabs.addTab(str("two").get(), 1);
        tabs.addSelectionChangedHandler(noting("tab").get());
        page.control<SearchEdit>("find").addTextChangedHandler(noting("search").get());
    }

    // A handler that notes the event with what its arguments carry.
    Ref<TestHandler> noting(std::string what) {
        return make<TestHandler>([this, what](IBaseObject*, IEventArgs* args) {
            // Written with snprintf: GCC 12 at -O3 warns falsely (-Wrestrict)
            // about the copies of "text" + std::string.
            std::string detail = what;
            char part[160];
            if (auto* grid = as<IDrawGridEventArgs>(args)) {
                Int row = 0, column = 0;
                grid->getRow(&row);
                grid->getColumn(&column);
                std::snprintf(part, sizeof part, " %lld,%lld", static_cast<long long>(row), static_cast<long long>(column));
                detail += part;
            }
            if (auto* input = as<IDrawGridCellInputArgs>(args)) {
                Ref<IString> text;
                Color color = 0;
                input->getInputText(text.put());
                input->getInputColor(&color);
                std::snprintf(part, sizeof part, " '%s' %06X", textOf(text.get()).c_str(), static_cast<unsigned>(color));
                detail += part;
            }
            if (auto* action = as<IDrawGridCellActionEventArgs>(args)) {
                Int state = -1;
                action->getCheckState(&state);
                std::snprintf(part, sizeof part, " state %lld", static_cast<long long>(state));
                detail += part;
            }
            seen.push_back(detail);
            return errOk;
        });
    }

    LoadedWindow page{windowMarkup("<StackPanel><Button Name=\"go\" Label=\"Go\"/><TabControl Name=\"tabs\"/>"
                                   "<SearchEdit Name=\"find\"/><NVDrawGrid Name=\"grid\"/></StackPanel>")};
    std::vector<std::string> seen;
};

TEST_F(WindowActions, EachReachesItsHandlerWithWhatTheUserGave) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"action":"click","name":"go"})", "click"},
        {R"({"action":"editCell","name":"grid","row":2,"column":0,"text":"5964"})", "input 2,0 '5964' 000000"},
        {R"({"action":"toggleCell","name":"grid","row":1,"column":1,"checked":false})", "action 1,1 state 0"},
        {R"({"action":"toggleCell","name":"grid","row":2,"column":1,"checked":true})", "action 2,1 state 1"},
        // #RRGGBB from the page, 0x00BBGGRR for the plug-in.
        {R"({"action":"pickColor","name":"grid","row":1,"column":2,"color":"#FF8000"})", "input 1,2 '' 0080FF"},
        {R"({"action":"pressCell","name":"grid","row":2,"column":3})", "action 2,3 state 0"},
        {R"({"action":"selectRows","name":"grid","rows":[2,1]})", "selection 2,0"},
        {R"({"action":"selectTab","name":"tabs","index":1})", "tab"},
        {R"({"action":"typeSearch","name":"find","text":"spe"})", "search"},
    };
    for (const auto& [action, expected] : cases) {
        seen.clear();
        EXPECT_EQ(performAction(*page.window, Json::parse(action)), errOk) << action;
        EXPECT_EQ(seen, std::vector<std::string>{expected}) << action;
    }
    EXPECT_TRUE(page.control<DrawGrid>("grid").selected(1) && page.control<DrawGrid>("grid").selected(2));
    EXPECT_EQ(page.control<SearchEdit>("find").text, "spe");
}

TEST_F(WindowActions, OneNoUserCouldDoReachesNoHandlerAndSaysWhy) {
    const std::pair<const char*, const char*> cases[] = {
        {R"([1, 2])", "a JSON object"},
        {R"({"name":"go"})", "lacks \"action\""},
        {R"({"action":"explode","name":"go"})", "no action \"explode\""},
        {R"({"action":"click"})", "lacks \"name\""},
        {R"({"action":"click","name":"nothing"})", "no control named 'nothing'"},
        {R"({"action":"click","name":"grid"})", "not a Button"},
        {R"({"action":"editCell","name":"grid","row":"2","column":0,"text":"x"})", "\"row\" must be a whole number"},
        {R"({"action":"editCell","name":"grid","row":3,"column":0,"text":"x"})", "no data row 3"},
        {R"({"action":"editCell","name":"grid","row":1,"column":9,"text":"x"})", "shows no column 9"},
        {R"({"action":"editCell","name":"grid","row":1,"column":1,"text":"x"})", "CheckBox column"},
        {R"({"action":"toggleCell","name":"grid","row":1,"column":1,"checked":1})", "\"checked\" must be true or false"},
        {R"({"action":"pickColor","name":"grid","row":1,"column":2,"color":"red"})", "#RRGGBB, not \"red\""},
        {R"({"action":"pickColor","name":"grid","row":1,"column":2,"color":"#12345G"})", "#RRGGBB"},
        {R"({"action":"selectRows","name":"grid","rows":2})", "\"rows\" must be a list"},
        {R"({"action":"selectRows","name":"grid","rows":[1,7]})", "no data row 7"},
        {R"({"action":"selectTab","name":"tabs","index":2})", "no tab 2"},
        {R"({"action":"typeSearch","name":"find","text":null})", "\"text\" must be a text"},
    };
    for (const auto& [action, why] : cases) {
        seen.clear();
        try {
            performAction(*page.window, Json::parse(action));
            ADD_FAILURE() << action << " was carried out";
        } catch (const ActionError& error) {
            EXPECT_NE(std::string(error.what()).find(why), std::string::npos) << action << ": " << error.what();
        }
        EXPECT_TRUE(seen.empty()) << action;
    }
    EXPECT_FALSE(page.control<DrawGrid>("grid").selected(1)) << "a refused selection selects nothing";
}

}  // namespace
