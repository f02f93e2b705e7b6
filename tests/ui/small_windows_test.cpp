// The analysis window's greeting and the modal window's close button.
#include <gtest/gtest.h>

#include "core/errors.h"
#include "ui/analysis_window.h"
#include "ui/modal_window.h"
#include "window_fixture.h"

namespace window_test {
namespace {

using SmallWindowTest = WindowTest;

TEST_F(SmallWindowTest, TheAnalysisWindowShowsItsGreetingAndNothingElse) {
    const AnalysisWindow analysis(window(), &core);
    EXPECT_EQ(fake->labelTexts(), std::vector<std::string>{"Hello from analysis!"});
    EXPECT_TRUE(fake->named.empty());
    EXPECT_TRUE(fake->timers.empty());
    const AnalysisWindow empty(Nerova::Kite::WindowPtr(), &core);
    EXPECT_FALSE(empty.window()) << "a null window loads nothing and is no error";
}

TEST_F(SmallWindowTest, CloseEndsTheDialogWithItsResultThenClosesIt) {
    const ModalWindow modal(window());
    auto& close = fake->control<kite_fake::FakeButton>("closeButton");
    EXPECT_EQ(close.click(), std::vector<ErrCode>{kOk});
    EXPECT_EQ(fake->dialogResults, std::vector<Nerova::Kite::Int>{1});
    EXPECT_EQ(fake->closes, 1);

    // Raised with another sender, the same handler ends the dialog otherwise.
    auto other = kite_fake::make<kite_fake::FakeButton>();
    EXPECT_EQ(close.clicked.at(0)->handleEvent(other.get(), nullptr), kOk);
    EXPECT_EQ(fake->dialogResults, (std::vector<Nerova::Kite::Int>{1, 2}));
}

TEST_F(SmallWindowTest, TheModalWindowNeedsAWindowForItsButton) {
    try {
        ModalWindow made{Nerova::Kite::WindowPtr()};
        ADD_FAILURE() << "made without a window";
    } catch (const Nerova::RT::Core::InvalidParameterException& error) {
        EXPECT_STREQ(error.what(), "Window must not be null.");
    }
}

}  // namespace
}  // namespace window_test
