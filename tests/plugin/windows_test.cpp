// The window events: create, replace, drop, and a window that cannot be
// made, with windows of the reference host's toolkit.
#include <memory>

#include "contract/plugin_interfaces.h"
#include "host/kite/toolkit.h"
#include "host/window_session.h"
#include "support/plugin_test_support.h"

namespace plugin_test {
namespace {

namespace kite = vexa::kite;
using vexa::host::asComUnknown;

// The references to `window` beyond the test's own.
int heldBy(kite::Window& window) {
    const int references = window.addRef();
    window.release();
    return references - 2;
}

// A COM object that is no toolkit window.
class PlainObject final : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown)) return E_NOINTERFACE;
        *object = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

constexpr char kNoWindow[] = "Window must not be null.";
constexpr char kNotAWindow[] = "Invalid cast. The object does not implement this interface.";

struct WindowKind {
    HostEventId create;
    HostEventId drop;
    // The answer when the host sends no window: the analysis window then
    // loads nothing, the others have no controls to find.
    HRESULT withoutWindow;
};

class WindowEventTest : public PluginTest, public ::testing::WithParamInterface<WindowKind> {
protected:
    void SetUp() override { ASSERT_EQ(initialize(), S_OK); }
    // As the host does once it is done with its windows.
    void TearDown() override {
        first->drop();
        second->drop();
    }

    kite::UiClock clock;
    kite::Ref<kite::Window> first = kite::make<kite::Window>(clock);
    kite::Ref<kite::Window> second = kite::make<kite::Window>(clock);
    PlainObject plain;
};

TEST_P(WindowEventTest, ASecondWindowReplacesTheFirst) {
    const WindowKind& kind = GetParam();
    ASSERT_EQ(plugin.windowEvent(kind.create, asComUnknown(*first)), S_OK);
    EXPECT_EQ(heldBy(*first), 1);
    ASSERT_EQ(plugin.windowEvent(kind.create, asComUnknown(*second)), S_OK);
    EXPECT_EQ(heldBy(*first), 0);
    EXPECT_EQ(heldBy(*second), 1);

    EXPECT_EQ(plugin.windowEvent(kind.drop, nullptr), S_OK);
    EXPECT_EQ(heldBy(*second), 0);
    EXPECT_EQ(plugin.windowEvent(kind.drop, nullptr), S_OK) << "dropping no window";
}

TEST_P(WindowEventTest, AWindowThatCannotBeMadeIsReportedAndKeepsThePreviousOne) {
    const WindowKind& kind = GetParam();
    ASSERT_EQ(plugin.windowEvent(kind.create, asComUnknown(*first)), S_OK);
    EXPECT_EQ(plugin.windowEvent(kind.create, &plain), E_FAIL);
    EXPECT_EQ(app->reportedErrors(), std::vector<std::string>{kNotAWindow});
    EXPECT_EQ(heldBy(*first), 1);

    // No window at all: an integer where the window belongs reads as none.
    Variant notAWindow = Variant::ofInt32(7);
    Variant result;
    EXPECT_EQ(plugin.event(kind.create, *notAWindow.get(), *result.get()), kind.withoutWindow);
    const std::vector<std::string> reported =
        kind.withoutWindow == S_OK ? std::vector<std::string>{kNotAWindow}
                                   : std::vector<std::string>{kNotAWindow, kNoWindow};
    EXPECT_EQ(app->reportedErrors(), reported);
    EXPECT_EQ(heldBy(*first), kind.withoutWindow == S_OK ? 0 : 1);
}

TEST_P(WindowEventTest, AReportThatFailsStillAnswersEFailOnce) {
    app->failMethod(84, E_FAIL);
    EXPECT_EQ(plugin.windowEvent(GetParam().create, &plain), E_FAIL);
    EXPECT_EQ(app->callCount(84), 1) << "the failed report is not reported again";
}

INSTANTIATE_TEST_SUITE_P(AllKinds, WindowEventTest,
                         ::testing::Values(WindowKind{HostEvent::CreateSetupWindow, HostEvent::DropSetupWindow, E_FAIL},
                                           WindowKind{HostEvent::CreateSettingsWindow,
                                                      HostEvent::DropSettingsWindow, E_FAIL},
                                           WindowKind{HostEvent::CreateAnalysisWindow,
                                                      HostEvent::DropAnalysisWindow, S_OK}),
                         [](const auto& instance) { return "Event" + std::to_string(instance.param.create); });

TEST_F(PluginTest, WindowsStillOpenGoWithThePlugin) {
    kite::UiClock clock;
    auto settings = kite::make<kite::Window>(clock);
    auto analysis = kite::make<kite::Window>(clock);
    ASSERT_EQ(initialize(), S_OK);
    ASSERT_EQ(plugin.windowEvent(HostEvent::CreateSettingsWindow, asComUnknown(*settings)), S_OK);
    ASSERT_EQ(plugin.windowEvent(HostEvent::CreateAnalysisWindow, asComUnknown(*analysis)), S_OK);
    EXPECT_EQ(heldBy(*settings), 1);
    plugin = PluginDriver(loadedModule().createPlugin());
    EXPECT_EQ(heldBy(*settings), 0);
    EXPECT_EQ(heldBy(*analysis), 0);

    // The toolkit may still call what the dead window gave it.
    EXPECT_EQ(kite::click(*settings, "addDeviceButton"), S_OK);
    EXPECT_EQ(dynamic_cast<kite::DrawGrid&>(*settings->find("deviceNVDrawGrid")).rowCount(), 1);
    settings->drop();
    analysis->drop();
}

}  // namespace
}  // namespace plugin_test
