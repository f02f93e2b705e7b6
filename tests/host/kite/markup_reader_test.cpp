// The toolkit reads markup as strictly as a real toolkit: what it accepts
// becomes controls with their attributes, and anything it does not know
// fails the whole load, leaving the window as it was.
#include <gtest/gtest.h>

#include "kite_test_support.h"

namespace kite_test {
namespace {

const std::string settingsLike = windowMarkup(R"(
  <CaptionPanel Title="Device settings">
    <Grid>
      <Grid.ColumnDefinitions><ColumnDefinition Width="100%"/></Grid.ColumnDefinitions>
      <Grid.RowDefinitions><RowDefinition Height="30"/><RowDefinition Height="100%"/></Grid.RowDefinitions>
      <Grid Grid.Row="0">
        <Grid.ColumnDefinitions>
          <ColumnDefinition Width="90"/><ColumnDefinition Width="10"/><ColumnDefinition Width="90"/>
        </Grid.ColumnDefinitions>
        <Grid.RowDefinitions><RowDefinition Height="5"/><RowDefinition Height="5"/></Grid.RowDefinitions>
        <Button Name="addDeviceButton" Grid.Row="1" Grid.Column="0" Label="Add device"/>
        <Button Name="removeDeviceButton" Grid.Row="1" Grid.Column="2">Remove device</Button>
      </Grid>
      <Grid Grid.Row="1">
        <Grid.RowDefinitions><RowDefinition Height="40"/><RowDefinition Height="Auto"/></Grid.RowDefinitions>
        <NVDrawGrid Name="deviceNVDrawGrid" Grid.Row="1" Align="Fill" Background="White"/>
      </Grid>
    </Grid>
  </CaptionPanel>)",
                                                 R"( Name="settingsWindow" Background="white" Title="Settings")");

TEST(Markup, AWindowDocumentBecomesTheWindowsAttributesAndAControlTree) {
    LoadedWindow loaded(settingsLike);
    Window& window = *loaded.window;
    EXPECT_EQ(window.name(), "settingsWindow");
    EXPECT_EQ(window.title(), "Settings");
    EXPECT_EQ(window.background, Color{0xFFFFFF});

    EXPECT_EQ(loaded.control<Button>("addDeviceButton").label, "Add device");
    EXPECT_EQ(loaded.control<Button>("removeDeviceButton").label, "Remove device") << "element text is the label";
    const DrawGrid& grid = loaded.control<DrawGrid>("deviceNVDrawGrid");
    EXPECT_EQ(grid.align, "Fill");
    EXPECT_EQ(grid.placement.row, 1);

    IControl* found = nullptr;
    ASSERT_EQ(window.findChild(str("deviceNVDrawGrid").get(), &found), errOk);
    Ref<IControl> held = Ref<IControl>::adopt(found);
    EXPECT_NE(as<INVDrawGrid>(found), nullptr);
    ASSERT_EQ(window.findChild(str("noSuchControl").get(), &found), errOk) << "an unknown name is not an error";
    EXPECT_EQ(found, nullptr);
}

TEST(Markup, AGridRootIsAcceptedAsTheWindowsContent) {
    const std::string modal = std::string("<Grid xmlns=\"") + markupNamespace +
                              "\" Height=\"100\" Width=\"200\"><Button Name=\"closeButton\">Close</Button></Grid>";
    LoadedWindow loaded(modal);
    ASSERT_EQ(loaded.window->children().size(), 1u);
    EXPECT_STREQ(loaded.window->children()[0]->typeName(), "Grid");
    EXPECT_EQ(loaded.window->children()[0]->width, 200);
    EXPECT_EQ(loaded.control<Button>("closeButton").label, "Close");
}

struct Refused {
    const char* what;
    std::string markup;
    const char* reason;  // part of the message
};

class MarkupRefused : public ::testing::TestWithParam<Refused> {};

TEST_P(MarkupRefused, FailsTheWholeLoadWithAReasonAndKeepsTheOldContent) {
    LoadedWindow loaded(windowMarkup(R"(<Label Name="kept" Text="before"/>)"));
    EXPECT_EQ(loaded.window->loadMarkup(str(GetParam().markup).get()), errParseFailed);
    const std::string message = takeErrorMessage();
    EXPECT_NE(message.find(GetParam().reason), std::string::npos) << message;
    EXPECT_EQ(loaded.control<Label>("kept").text, "before");
    EXPECT_EQ(loaded.window->children().size(), 1u);
}

const std::string ns = std::string(" xmlns=\"") + markupNamespace + "\"";
const std::string twoRows =
    "<Grid.RowDefinitions><RowDefinition Height=\"5\"/><RowDefinition Height=\"5\"/></Grid.RowDefinitions>";

INSTANTIATE_TEST_SUITE_P(
    Markup, MarkupRefused,
    ::testing::Values(
        Refused{"not XML", "<Window" + ns + "><Label>", "not well-formed"},
        Refused{"closing tag of another element", "<Window" + ns + "><Label></Button></Window>", "not well-formed"},
        Refused{"no namespace", "<Window><Label/></Window>", "no namespace"},
        Refused{"another namespace", "<Window xmlns=\"urn:other\"><Label/></Window>", "urn:other"},
        Refused{"an inner element in another namespace", windowMarkup("<Label xmlns=\"urn:other\"/>"), "urn:other"},
        Refused{"a prefixed element", windowMarkup("<x:Label xmlns:x=\"urn:other\"/>"), "namespace"},
        Refused{"unknown element", windowMarkup("<Slider/>"), "unknown element <Slider>"},
        Refused{"unknown attribute", windowMarkup("<Button Colour=\"red\"/>"), "unknown attribute Colour"},
        Refused{"an attribute of another control", windowMarkup("<Label Label=\"x\"/>"), "unknown attribute Label"},
        Refused{"an attribute twice", windowMarkup("<Label Text=\"a\" Text=\"b\"/>"), "Text twice"},
        Refused{"duplicate names",
                windowMarkup("<StackPanel><Label Name=\"a\"/><Button Name=\"a\"/></StackPanel>"), "taken"},
        Refused{"a control named as the window", windowMarkup("<Label Name=\"w\"/>", " Name=\"w\""), "taken"},
        Refused{"Grid.Row past the definitions",
                windowMarkup("<Grid>" + twoRows + "<Label Grid.Row=\"2\"/></Grid>"), "Grid.Row 2 is outside"},
        Refused{"Grid.Row in a grid without definitions", windowMarkup("<Grid><Label Grid.Row=\"1\"/></Grid>"),
                "outside"},
        Refused{"a column span past the definitions",
                windowMarkup("<Grid><Grid.ColumnDefinitions><ColumnDefinition Width=\"5\"/><ColumnDefinition "
                             "Width=\"5\"/></Grid.ColumnDefinitions><Label Grid.Column=\"1\" "
                             "Grid.ColumnSpan=\"2\"/></Grid>"),
                "outside"},
        Refused{"Grid.Row outside a grid", windowMarkup("<StackPanel><Label Grid.Row=\"0\"/></StackPanel>"),
                "outside a Grid"},
        Refused{"a size that is no number", windowMarkup("<Label Width=\"wide\"/>"), "whole number"},
        Refused{"a negative row", windowMarkup("<Grid>" + twoRows + "<Label Grid.Row=\"-1\"/></Grid>"),
                "whole number"},
        Refused{"a percentage above 100",
                windowMarkup("<Grid><Grid.RowDefinitions><RowDefinition Height=\"150%\"/></Grid.RowDefinitions>"
                             "</Grid>"),
                "more than 100%"},
        Refused{"a definition outside its list",
                windowMarkup("<Grid><Grid.RowDefinitions><ColumnDefinition/></Grid.RowDefinitions></Grid>"),
                "holds RowDefinition elements"},
        Refused{"definitions in a stack panel",
                windowMarkup("<StackPanel><Grid.RowDefinitions/></StackPanel>"), "unknown element"},
        Refused{"a colour that is none", windowMarkup("<Label Background=\"sky\"/>"), "colour"},
        Refused{"an alignment that is none", windowMarkup("<NVDrawGrid Align=\"Middle\"/>"), "no alignment"},
        Refused{"two controls in a window", windowMarkup("<Label/><Label/>"), "holds one control"},
        Refused{"two controls in a caption panel", windowMarkup("<CaptionPanel><Label/><Label/></CaptionPanel>"),
                "holds one control"},
        Refused{"a control inside a button", windowMarkup("<Button><Label/></Button>"), "holds no controls"},
        Refused{"text in a panel", windowMarkup("<StackPanel>hello</StackPanel>"), "text in <StackPanel>"},
        Refused{"a label's text twice", windowMarkup("<Label Text=\"a\">b</Label>"), "both Text and element"},
        Refused{"a leaf control as the root", "<Button" + ns + "/>", "a Window or a panel"},
        Refused{"two roots", "<Grid" + ns + "/><Grid" + ns + "/>", "more than one root"}),
    [](const ::testing::TestParamInfo<Refused>& given) {
        std::string name = given.param.what;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

}  // namespace
}  // namespace kite_test
