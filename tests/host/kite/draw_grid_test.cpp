// The draw grid asks its handlers for everything it shows, after every
// handler it delivers; it filters, selects and takes a user's cell actions
// as the windows rely on.
#include <gtest/gtest.h>

#include <cmath>

#include "kite_test_support.h"

namespace kite_test {
namespace {

enum Column : Int { Id, Name, Colour, Used, Edit, Press, Value, Hidden };

// A grid of three rows over a small model, with a button that changes the
// model and a handler for each event the windows use.
class GridWindow : public ::testing::Test {
protected:
    GridWindow() {
        grid.addCellPropertiesHandler(props.get());
        grid.addLiveValueHandler(live.get());
        grid.addCellActionHandler(action.get());
        grid.addCellInputHandler(input.get());
        grid.addSelectionChangedHandler(selection.get());
        loaded.control<Button>("change").addClickHandler(
            make<TestHandler>([this](IBaseObject*, IEventArgs*) {
                names[0] = "Changed";
                return errOk;
            }).get());
        grid.setSize(4, 8);
        define(Id, "Id", ColumnKind::Number);
        define(Name, "Name", ColumnKind::Text);
        define(Colour, "C", ColumnKind::ColorPick);
        define(Used, "Used", ColumnKind::CheckBox);
        define(Edit, "Edit", ColumnKind::EditableText);
        define(Press, "Press", ColumnKind::Button);
        define(Value, "Value", ColumnKind::LiveValue);
        define(Hidden, "Hidden", ColumnKind::Text, 0);
        grid.applyColumns();
    }

    void define(Int index, const char* title, ColumnKind kind, Int flags = 1) {
        ASSERT_EQ(grid.defineColumn(index, str(title).get(), static_cast<Int>(kind), flags, 50, str(title).get()), errOk);
    }

    ErrCode cellProps(IEventArgs* args) {
        auto* cell = &the<IDrawGridCellPropsArgs>(args);
        Int row = 0, column = 0;
        cell->getRow(&row);
        cell->getColumn(&column);
        const std::string& name = names[static_cast<std::size_t>(row - 1)];
        if (column == Id) cell->setNumber(static_cast<double>(row));
        if (column == Name) cell->setText(str(name).get());
        if (column == Colour) cell->setColor(0x005900);
        if (column == Used) cell->setText(str("Used").get());
        return errOk;
    }

    ErrCode liveValue(IEventArgs* args) {
        auto* cell = &the<IDrawGridLiveValueArgs>(args);
        cell->setText(str("1.500000").get());
        cell->setPeak(peak);
        cell->setValue(1.5);
        cell->setKind(3);
        return errOk;
    }

    // The grid's row as the window's JSON writes it.
    Json row(Int index) {
        const Json window = loaded.window->json();
        for (const Json& shown : window["children"][0]["children"][1]["rows"])
            if (shown["row"] == index) return shown;
        return nullptr;
    }
    std::vector<Int> shownRows() {
        std::vector<Int> rows;
        for (Int r = 1; r < grid.rowCount(); ++r)
            if (grid.rowShown(r)) rows.push_back(r);
        return rows;
    }

    LoadedWindow loaded{windowMarkup(R"(<StackPanel><Button Name="change"/><NVDrawGrid Name="grid"/>
        <Label Name="label"/></StackPanel>)")};
    DrawGrid& grid = loaded.control<DrawGrid>("grid");
    std::vector<std::string> names = {"Alpha", "beta", "GAMMA"};
    double peak = 2.0;
    Ref<TestHandler> props = make<TestHandler>([this](IBaseObject*, IEventArgs* args) { return cellProps(args); });
    Ref<TestHandler> live = make<TestHandler>([this](IBaseObject*, IEventArgs* args) { return liveValue(args); });
    Ref<TestHandler> action = make<TestHandler>();
    Ref<TestHandler> input = make<TestHandler>();
    Ref<TestHandler> selection = make<TestHandler>();
};

TEST_F(GridWindow, AfterEveryHandlerItAsksAgainForEveryCellItShows) {
    EXPECT_TRUE(props->calls.empty()) << "sizing and defining columns paint nothing";
    ASSERT_EQ(click(*loaded.window, "change"), errOk);

    EXPECT_EQ(grid.cellText(1, Name), "Changed") << "the click handler never repainted";
    EXPECT_EQ(props->calls.size(), 3u * 6u) << "3 data rows, 6 shown columns that are not live values";
    EXPECT_EQ(live->calls.size(), 3u);
    for (const Call& call : props->calls) {
        EXPECT_GE(call.row, 1) << "the header row is never asked for";
        EXPECT_NE(call.column, Hidden);
        EXPECT_NE(call.column, Value) << "live values come through their own event";
    }
    EXPECT_EQ(props->calls[0].event, "CellProperties");
    EXPECT_EQ(live->calls[0].event, "LiveValue");
}

TEST_F(GridWindow, RepaintAsksAtOnceAndARepaintFromAPaintingHandlerIsThatPaint) {
    auto repainting = make<TestHandler>([this](IBaseObject*, IEventArgs*) { return grid.repaint(); });
    grid.addCellPropertiesHandler(repainting.get());
    EXPECT_EQ(grid.repaint(), errOk);
    EXPECT_EQ(props->calls.size(), 18u);
}

TEST_F(GridWindow, AHandlerThatResizesTheGridOrItsColumnsWhilePaintingIsSafe) {
    auto shrinking = make<TestHandler>([this](IBaseObject*, IEventArgs*) {
        grid.setSize(2, 2);
        grid.applyColumns();
        return errOk;
    });
    grid.addCellPropertiesHandler(shrinking.get());
    EXPECT_EQ(grid.repaint(), errOk);
    EXPECT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(grid.shownColumns().size(), 2u);
}

TEST_F(GridWindow, ColumnsShowOnlyOnceAppliedAndAreCheckedWhenDefined) {
    auto fresh = makeControl("NVDrawGrid");
    auto* other = dynamic_cast<DrawGrid*>(fresh.get());
    other->setSize(2, 2);
    struct Case {
        Int index, kind, width;
        ErrCode status;
    };
    for (const Case& c : {Case{0, 1, 10, errOk}, Case{2, 1, 10, errOutOfRange}, Case{-1, 1, 10, errOutOfRange},
                          Case{1, 4, 10, errInvalidParameter}, Case{1, 10, 10, errInvalidParameter},
                          Case{1, 9, -1, errOutOfRange}})
        EXPECT_EQ(other->defineColumn(c.index, str("t").get(), c.kind, 1, c.width, str("k").get()), c.status)
            << c.index << " " << c.kind << " " << c.width;
    EXPECT_TRUE(other->shownColumns().empty());

    IDrawGridColumn* column = nullptr;
    ASSERT_EQ(other->getColumn(0, &column), errOk) << "a defined column, not yet applied";
    EXPECT_EQ(column->setResizable(0), errOk);
    column->release();
    EXPECT_EQ(other->getColumn(1, &column), errNotFound);
    other->applyColumns();
    ASSERT_EQ(other->shownColumns().size(), 1u);
    EXPECT_FALSE(other->shownColumns()[0]->resizable);
}

struct Search {
    const char* text;
    Int flags;
    std::vector<Int> rows;
};

class GridSearch : public GridWindow, public ::testing::WithParamInterface<Search> {};

TEST_P(GridSearch, ShowsTheRowsWithAShownCellContainingTheText) {
    grid.repaint();
    ASSERT_EQ(grid.search(str(GetParam().text).get(), GetParam().flags), errOk);
    EXPECT_EQ(shownRows(), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(Grid, GridSearch,
                         ::testing::Values(Search{"", 0, {1, 2, 3}}, Search{"a", 0, {1, 2, 3}},
                                           Search{"A", 1, {1, 3}}, Search{"gam", 0, {3}}, Search{"gam", 1, {}},
                                           Search{"2", 0, {2}}, Search{"1.5", 0, {1, 2, 3}},
                                           Search{"Used", 0, {1, 2, 3}}, Search{"zeta", 0, {}}));

TEST_F(GridWindow, ASearchFiltersTheTextsTheHandlersGiveAtEachPaint) {
    grid.search(str("changed").get(), 0);
    EXPECT_TRUE(shownRows().empty());
    click(*loaded.window, "change");
    EXPECT_EQ(shownRows(), std::vector<Int>{1});
}

TEST_F(GridWindow, SelectingRowsReplacesTheSelectionAndSizingClearsIt) {
    ASSERT_EQ(selectRows(*loaded.window, "grid", {1, 3}), errOk);
    Bool selected[4] = {};
    for (Int r = 0; r < 4; ++r) ASSERT_EQ(grid.isRowSelected(r, &selected[r]), errOk);
    EXPECT_EQ(std::vector<Bool>(selected, selected + 4), (std::vector<Bool>{0, 1, 0, 1}));
    ASSERT_EQ(selection->calls.size(), 1u);
    EXPECT_EQ(selection->calls[0].row, 1);
    EXPECT_EQ(grid.isRowSelected(4, &selected[0]), errOutOfRange);

    selectRows(*loaded.window, "grid", {2});
    EXPECT_FALSE(grid.selected(1));
    grid.setSize(4, 8);
    EXPECT_FALSE(grid.selected(2));
}

TEST_F(GridWindow, UserCellActionsCarryTheirCellAndWhatTheUserEntered) {
    EXPECT_EQ(editCell(*loaded.window, "grid", 2, Edit, "typed"), errOk);
    EXPECT_EQ(pickColor(*loaded.window, "grid", 3, Colour, 0x0000FF), errOk);
    EXPECT_EQ(toggleCell(*loaded.window, "grid", 1, Used, false), errOk);
    EXPECT_EQ(pressCell(*loaded.window, "grid", 2, Press), errOk);

    ASSERT_EQ(input->calls.size(), 2u);
    EXPECT_EQ(input->calls[0].event, "CellInput");
    EXPECT_EQ(std::make_pair(input->calls[1].row, input->calls[1].column), std::make_pair(Int{3}, Int{Colour}));
    ASSERT_EQ(action->calls.size(), 2u);
    EXPECT_EQ(std::make_pair(action->calls[1].row, action->calls[1].column), std::make_pair(Int{2}, Int{Press}));
    EXPECT_EQ(row(1)["cells"][Used]["checked"], false);
}

TEST_F(GridWindow, HandlersReceiveWhatTheUserEnteredThroughTheArgumentInterfaces) {
    std::string text;
    Color color = 1;
    Int state = -1;
    grid.addCellInputHandler(make<TestHandler>([&](IBaseObject*, IEventArgs* args) {
                                 Ref<IString> entered;
                                 the<IDrawGridCellInputArgs>(args).getInputText(entered.put());
                                 text = textOf(entered.get());
                                 return the<IDrawGridCellInputArgs>(args).getInputColor(&color);
                             }).get());
    grid.addCellActionHandler(make<TestHandler>([&](IBaseObject*, IEventArgs* args) {
                                  return the<IDrawGridCellActionEventArgs>(args).getCheckState(&state);
                              }).get());
    editCell(*loaded.window, "grid", 1, Edit, " 5964abc");
    EXPECT_EQ(text, " 5964abc");
    EXPECT_EQ(color, 0u);
    toggleCell(*loaded.window, "grid", 1, Used, true);
    EXPECT_EQ(state, 1);
    pressCell(*loaded.window, "grid", 1, Press);
    EXPECT_EQ(state, 0);
}

TEST_F(GridWindow, ThePeakMarkStaysAtTheHighestPeakSinceTheGridWasSized) {
    grid.repaint();
    peak = 1.0;
    grid.repaint();
    EXPECT_EQ(row(2)["cells"][Value]["peak"], 2.0);
    EXPECT_EQ(row(2)["cells"][Value]["value"], 1.5);
    EXPECT_EQ(row(2)["cells"][Value]["kind"], 3);
    grid.setSize(4, 8);
    grid.repaint();
    EXPECT_EQ(row(2)["cells"][Value]["peak"], 1.0);
}

struct Impossible {
    const char* what;
    std::function<ErrCode(Window&)> action;
};

class ImpossibleAction : public GridWindow, public ::testing::WithParamInterface<Impossible> {};

TEST_P(ImpossibleAction, IsAClearErrorAndChangesNothing) {
    selectRows(*loaded.window, "grid", {2});
    grid.search(str("A").get(), 1);  // hides row 2 ("beta")
    loaded.control<Label>("label").hidden = true;
    const std::size_t selections = selection->calls.size();
    EXPECT_THROW(GetParam().action(*loaded.window), ActionError);
    EXPECT_TRUE(action->calls.empty());
    EXPECT_TRUE(input->calls.empty());
    EXPECT_EQ(selection->calls.size(), selections);
    EXPECT_TRUE(grid.selected(2));
}

INSTANTIATE_TEST_SUITE_P(
    Grid, ImpossibleAction,
    ::testing::Values(
        Impossible{"an unknown control", [](Window& w) { return click(w, "nothing"); }},
        Impossible{"a control of another type", [](Window& w) { return click(w, "grid"); }},
        Impossible{"a hidden control", [](Window& w) { return typeSearch(w, "label", "x"); }},
        Impossible{"the header row", [](Window& w) { return editCell(w, "grid", 0, Edit, "x"); }},
        Impossible{"a row past the grid", [](Window& w) { return pressCell(w, "grid", 4, Press); }},
        Impossible{"a row the search hides", [](Window& w) { return toggleCell(w, "grid", 2, Used, true); }},
        Impossible{"a column past the grid", [](Window& w) { return editCell(w, "grid", 1, 9, "x"); }},
        Impossible{"a hidden column", [](Window& w) { return pressCell(w, "grid", 1, Hidden); }},
        Impossible{"editing a read-only cell", [](Window& w) { return editCell(w, "grid", 1, Name, "x"); }},
        Impossible{"toggling a button cell", [](Window& w) { return toggleCell(w, "grid", 1, Press, true); }},
        Impossible{"picking a colour in a text cell", [](Window& w) { return pickColor(w, "grid", 1, Edit, 0); }},
        Impossible{"selecting a hidden row", [](Window& w) { return selectRows(w, "grid", {1, 2}); }}),
    [](const ::testing::TestParamInfo<Impossible>& given) {
        std::string name = given.param.what;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

TEST_F(GridWindow, JsonWritesColoursAsRgbAndReplacesBytesThatAreNoUtf8) {
    names[1] = "Ger\xE4t \xFF";
    Label& label = loaded.control<Label>("label");
    label.text = "Connected";
    Ref<IFont> font;
    label.getFont(font.put());
    font->setColor(22784);
    label.height = 0;
    label.hidden = true;
    grid.repaint();

    const Json json = loaded.window->json();
    const Json& labelJson = json["children"][0]["children"][2];
    EXPECT_EQ(labelJson["color"], "#005900");
    EXPECT_EQ(labelJson["height"], 0);
    EXPECT_EQ(labelJson["hidden"], true);
    EXPECT_EQ(row(1)["cells"][Colour]["color"], "#005900");
    EXPECT_EQ(row(1)["cells"][Id]["number"], 1.0);

    std::string text;
    ASSERT_NO_THROW(text = jsonText(json));
    EXPECT_NE(text.find("Ger\xEF\xBF\xBDt \xEF\xBF\xBD"), std::string::npos) << "each bad byte becomes U+FFFD";
    EXPECT_EQ(colorText(0x0000FF), "#FF0000");
    EXPECT_EQ(colorText(0x123456), "#563412");
}

}  // namespace
}  // namespace kite_test
