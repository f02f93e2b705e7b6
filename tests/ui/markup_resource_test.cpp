// The window markup the module carries, found by name on both builds.
#include <gtest/gtest.h>

#include "contract/kite_interfaces.h"
#include "core/errors.h"
#include "ui/markup_resource.h"

namespace {

using Nerova::Kite::markupText;
using Nerova::Kite::resourceText;

TEST(MarkupResource, EveryWindowsMarkupIsThereInTheToolkitsNamespace) {
    for (const char* name :
         {"ui/settings_window.xml", "ui/setup_window.xml", "ui/analysis_window.xml", "ui/modal_window.xml"}) {
        const std::string text = markupText(name);
        EXPECT_EQ(text.rfind("<?xml", 0), 0u) << name << " starts with its declaration";
        EXPECT_NE(text.find(std::string("xmlns=\"") + Nerova::Kite::markupNamespace + "\""), std::string::npos)
            << name;
        EXPECT_EQ(text.find('\0'), std::string::npos) << name << ": the text ends where the file does";
    }
}

TEST(MarkupResource, AMissingResourceIsAnErrorThatNamesIt) {
    try {
        markupText("ui/no_such_window.xml");
        FAIL() << "nothing thrown";
    } catch (const Nerova::RT::Core::InvalidParameterException& error) {
        EXPECT_STREQ(error.what(), "The window markup \"ui/no_such_window.xml\" is missing from the plug-in module.");
    }
}

TEST(MarkupResource, ASizeOfZeroMeansUpToTheFirstNul) {
    const char bytes[] = "<a/>\0<b/>";
    const struct {
        std::size_t size;
        std::string expected;
    } cases[] = {
        {0, "<a/>"},
        {3, "<a/"},
        {sizeof bytes - 1, std::string(bytes, sizeof bytes - 1)},
    };
    for (const auto& c : cases) EXPECT_EQ(resourceText(bytes, c.size), c.expected) << c.size;
}

}  // namespace
