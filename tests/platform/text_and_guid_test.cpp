#include <gtest/gtest.h>

#include "platform/guid.h"
#include "platform/text.h"

namespace {

using vexa::WideString;

TEST(TextConversion, NonAsciiRoundTripsThroughUtf16) {
    const std::string text = "Temp \xC2\xB0" "C \xE2\x82\xAC \xF0\x9F\x8E\xB5";  // "Temp °C € 🎵"
    const WideString wide = vexa::utf8ToWide(text);
    ASSERT_EQ(wide.size(), 12u) << "the last character needs a surrogate pair";
    EXPECT_EQ(wide[5], 0x00B0);
    EXPECT_EQ(wide[10], 0xD83C);
    EXPECT_EQ(wide[11], 0xDFB5);
    EXPECT_EQ(vexa::wideToUtf8(wide), text);
}

TEST(TextConversion, MalformedInputBecomesReplacementCharacters) {
    const WideString wide = vexa::utf8ToWide("a\xFF" "b");
    ASSERT_EQ(wide.size(), 3u);
    EXPECT_EQ(wide[1], 0xFFFD);
    const OLECHAR loneSurrogate[] = {'x', 0xD800, 'y'};
    EXPECT_EQ(vexa::wideToUtf8(vexa::WideView(loneSurrogate, 3)), "x\xEF\xBF\xBDy");
}

TEST(TextConversion, EmbeddedNulsSurvive) {
    const std::string text("a\0b", 3);
    EXPECT_EQ(vexa::wideToUtf8(vexa::utf8ToWide(text)), text);
}

TEST(TextConversion, AsciiPassesThroughTheNarrowCodePage) {
    EXPECT_EQ(vexa::wideToNarrow(vexa::narrowToWide("C:\\logs\\VexaLog.txt")), "C:\\logs\\VexaLog.txt");
}

TEST(TextConversion, SystemMessagesBecomeUtf8) {
#ifdef _WIN32
    // Such texts come in the ANSI code page; the Windows run pins 1252,
    // where 0xE9 is the e with acute accent.
    ASSERT_EQ(GetACP(), 1252u) << "the test needs the ANSI code page 1252";
    const std::string fromSystem = "Connexion refus\xE9" "e";
#else
    const std::string fromSystem = "Connexion refus\xC3\xA9" "e";
#endif
    EXPECT_EQ(vexa::systemMessageToUtf8(fromSystem), "Connexion refus\xC3\xA9" "e");
    EXPECT_EQ(vexa::systemMessageToUtf8("Connection refused"), "Connection refused");
}

constexpr GUID kSample = {0x0A1B2C3D, 0x4E5F, 0x6071, {0x82, 0x93, 0xA4, 0xB5, 0xC6, 0xD7, 0xE8, 0xF9}};

TEST(Guid, RegistryTextIsBracedUpperCaseHex) {
    EXPECT_EQ(vexa::guidToString(kSample), "{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9}");
#ifdef _WIN32
    wchar_t system[39];
    ASSERT_EQ(StringFromGUID2(kSample, system, 39), 39);
    EXPECT_EQ(vexa::wideToUtf8(system), vexa::guidToString(kSample));
#endif
}

TEST(Guid, ParsesItsOwnTextAndRejectsOtherShapes) {
    const auto parsed = vexa::guidFromString("{0a1b2c3d-4e5f-6071-8293-a4b5c6d7e8f9}");
    ASSERT_TRUE(parsed.has_value());
    EXPECT_TRUE(*parsed == kSample);
    EXPECT_FALSE(vexa::guidFromString("0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9").has_value());
    EXPECT_FALSE(vexa::guidFromString("{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8FG}").has_value());
}

}  // namespace
