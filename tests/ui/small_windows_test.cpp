// The analysis window's greeting and the modal window's close button, in
// the reference host's toolkit.
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
    std::vector<std::string> texts;
    host->forEach([&](kite::Control& control) {
        if (auto* label = dynamic_cast<kite::Label*>(&control)) texts.push_back(label->text);
    });
    EXPECT_EQ(texts, std::vector<std::string>{"Hello from analysis!"});
    EXPECT_TRUE(host->timers().empty());
    const AnalysisWindow empty(Nerova::Kite::WindowPtr(), &core);
    EXPECT_FALSE(empty.window()) << "a null window loads nothing and is no error";
}

TEST_F(SmallWindowTest, CloseEndsTheDialogWithResultOneAndClosesIt) {
    const ModalWindow modal(window());
    EXPECT_FALSE(host->closed());
    EXPECT_EQ(kite::click(*host, "closeButton"), kOk);
    EXPECT_EQ(host->dialogResult(), 1);
    EXPECT_TRUE(host->closed());
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
