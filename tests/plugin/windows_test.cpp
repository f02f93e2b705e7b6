// The window events: create, replace, drop, and a window that cannot be
// made.
#include <memory>

#include "contract/plugin_interfaces.h"
#include "support/plugin_test_support.h"

namespace plugin_test {
namespace {

// A host window that writes every reference it gains or loses to a shared
// log, so that the order of the plug-in's windows coming and going shows.
class RecordingWindow final : public IUnknown {
public:
    RecordingWindow(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown)) return E_NOINTERFACE;
        *object = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        log_.push_back(name_ + "+");
        return ++references_;
    }
    ULONG STDMETHODCALLTYPE Release() override {
        log_.push_back(name_ + "-");
        return --references_;
    }
    ULONG references() const noexcept { return references_; }

private:
    std::string name_;
    std::vector<std::string>& log_;
    ULONG references_ = 0;
};

struct WindowKind {
    HostEventId create;
    HostEventId drop;
    const char* failure;
};

class WindowEventTest : public PluginTest, public ::testing::WithParamInterface<WindowKind> {
protected:
    void SetUp() override { ASSERT_EQ(initialize(), S_OK); }

    // Every window event in the log, without the driver's own references
    // for the argument.
    std::vector<std::string> log;
    RecordingWindow first{"first", log};
    RecordingWindow second{"second", log};
};

TEST_P(WindowEventTest, ASecondWindowReplacesTheFirstOnceItStands) {
    const WindowKind& kind = GetParam();
    ASSERT_EQ(plugin.windowEvent(kind.create, &first), S_OK);
    EXPECT_EQ(first.references(), 1u);
    log.clear();
    ASSERT_EQ(plugin.windowEvent(kind.create, &second), S_OK);
    EXPECT_EQ(first.references(), 0u);
    EXPECT_EQ(second.references(), 1u);
    // The driver's argument takes and gives back a reference of its own.
    EXPECT_EQ(log, (std::vector<std::string>{"second+", "second+", "first-", "second-"}));

    EXPECT_EQ(plugin.windowEvent(kind.drop, nullptr), S_OK);
    EXPECT_EQ(second.references(), 0u);
    EXPECT_EQ(plugin.windowEvent(kind.drop, nullptr), S_OK) << "dropping no window";
}

TEST_P(WindowEventTest, AWindowThatCannotBeMadeIsReportedAndKeepsThePreviousOne) {
    const WindowKind& kind = GetParam();
    ASSERT_EQ(plugin.windowEvent(kind.create, &first), S_OK);
    EXPECT_EQ(plugin.windowEvent(kind.create, nullptr), E_FAIL);
    Variant notAWindow = Variant::ofInt32(7);
    Variant result;
    EXPECT_EQ(plugin.event(kind.create, *notAWindow.get(), *result.get()), E_FAIL);
    EXPECT_EQ(app->reportedErrors(), std::vector<std::string>(2, kind.failure));
    EXPECT_EQ(first.references(), 1u);
    EXPECT_EQ(plugin.windowEvent(kind.drop, nullptr), S_OK);
    EXPECT_EQ(first.references(), 0u);
}

TEST_P(WindowEventTest, AReportThatFailsStillAnswersEFailOnce) {
    app->failMethod(84, E_FAIL);
    EXPECT_EQ(plugin.windowEvent(GetParam().create, nullptr), E_FAIL);
    EXPECT_EQ(app->callCount(84), 1) << "the failed report is not reported again";
}

INSTANTIATE_TEST_SUITE_P(
    AllKinds, WindowEventTest,
    ::testing::Values(WindowKind{HostEvent::CreateSetupWindow, HostEvent::DropSetupWindow,
                                 "The setup window has no host window."},
                      WindowKind{HostEvent::CreateSettingsWindow, HostEvent::DropSettingsWindow,
                                 "The settings window has no host window."},
                      WindowKind{HostEvent::CreateAnalysisWindow, HostEvent::DropAnalysisWindow,
                                 "The analysis window has no host window."}),
    [](const auto& instance) { return "Event" + std::to_string(instance.param.create); });

TEST_F(PluginTest, WindowsStillOpenGoWithThePlugin) {
    std::vector<std::string> log;
    RecordingWindow window{"window", log};
    ASSERT_EQ(initialize(), S_OK);
    ASSERT_EQ(plugin.windowEvent(HostEvent::CreateSettingsWindow, &window), S_OK);
    ASSERT_EQ(plugin.windowEvent(HostEvent::CreateAnalysisWindow, &window), S_OK);
    EXPECT_EQ(window.references(), 2u);
    plugin = PluginDriver(loadedModule().createPlugin());
    EXPECT_EQ(window.references(), 0u);
}

}  // namespace
}  // namespace plugin_test
