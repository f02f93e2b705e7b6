// Typed values on nodes, index-path text and number formatting.
#include <locale>
#include <sstream>

#include "serialization/node_values.h"
#include "serialization/string_helper.h"
#include "support/xml_test_support.h"

namespace serialization_test {
namespace {

using namespace Nerova::Utils::Serialization;

class NodeValues : public ::testing::Test {
protected:
    // Stores a text as the host would have it in a loaded document.
    void store(const std::string& name, const std::string& text) {
        document->writeValue(document->root(), name, text, {});
    }

    Document doc;
    ComPtr<XmlDocumentObject>& document = doc.object;
    NodePtr& root = doc.root;
};

TEST_F(NodeValues, NumbersAreWrittenAsPlainDigitsWithAnUnequalDefault) {
    writeNumber(*root, "Count", 1000000);
    writeNumber(*root, "Offset", -42);
    ASSERT_EQ(document->valueWrites().size(), 2u);
    EXPECT_EQ(document->valueWrites()[0].value, "1000000");
    EXPECT_EQ(document->valueWrites()[0].defaultValue, "1000000#");
    EXPECT_EQ(document->root().findChild("Count")->text(), "1000000");
    EXPECT_EQ(readNumber<std::int32_t>(*root, "Offset", 0), -42);
    EXPECT_EQ(readNumber<std::uint64_t>(*root, "Missing", 17u), 17u);

    writeText(*root, "Empty", "");
    EXPECT_EQ(document->valueWrites()[2].defaultValue, "#");
    EXPECT_NE(document->root().findChild("Empty"), nullptr) << "even an empty text is stored";
}

TEST_F(NodeValues, NumberReadsRefuseOtherTextAndOutOfRangeValues) {
    store("Letters", "12a");
    store("Huge", "18446744073709551616");  // one above the unsigned 64-bit range
    store("Big", "4294967296");
    store("Negative", "-1");
    store("Blank", " 5");
    EXPECT_EQ(codeOf([&] { readNumber<std::uint64_t>(*root, "Letters", 0); }), XmlExceptionCode::WrongType);
    EXPECT_EQ(codeOf([&] { readNumber<std::uint64_t>(*root, "Huge", 0); }), XmlExceptionCode::OutOfRange);
    EXPECT_EQ(codeOf([&] { readNumber<std::uint32_t>(*root, "Big", 0); }), XmlExceptionCode::OutOfRange);
    EXPECT_EQ(readNumber<std::uint64_t>(*root, "Big", 0), 4294967296u);
    EXPECT_EQ(codeOf([&] { readNumber<std::uint32_t>(*root, "Negative", 0); }), XmlExceptionCode::OutOfRange);
    EXPECT_EQ(codeOf([&] { readNumber<std::int8_t>(*root, "Big", 0); }), XmlExceptionCode::OutOfRange);
    EXPECT_EQ(codeOf([&] { readNumber<std::int32_t>(*root, "Blank", 0); }), XmlExceptionCode::WrongType);
}

TEST_F(NodeValues, BooleansReadWordsInAnyCaseAndNumbers) {
    store("Upper", "TRUE");
    store("Zero", "0");
    store("Tiny", "1e-17");
    store("Half", "-0.5");
    store("Word", "yes");
    store("Overflow", "1e999");
    EXPECT_TRUE(readBool(*root, "Upper", false));
    EXPECT_FALSE(readBool(*root, "Zero", true));
    EXPECT_FALSE(readBool(*root, "Tiny", true)) << "below the double's epsilon counts as zero";
    EXPECT_TRUE(readBool(*root, "Half", false));
    EXPECT_TRUE(readBool(*root, "Missing", true));
    EXPECT_EQ(codeOf([&] { readBool(*root, "Word", false); }), XmlExceptionCode::WrongType);
    EXPECT_EQ(codeOf([&] { readBool(*root, "Overflow", false); }), XmlExceptionCode::OutOfRange);
}

TEST_F(NodeValues, BooleansEqualToTheirDefaultAreNotStored) {
    writeBool(*root, "Same", true, true);
    writeBool(*root, "Different", false, true);
    EXPECT_EQ(document->root().findChild("Same"), nullptr);
    EXPECT_EQ(document->root().findChild("Different")->text(), "False");
    EXPECT_TRUE(readBool(*root, "Same", true));
    EXPECT_FALSE(readBool(*root, "Different", true));
}

TEST(ListText, WritesColonThenSemicolonsAndReadsItBack) {
    EXPECT_EQ(listToText({}), "");
    EXPECT_EQ(listToText({5}), "5");
    EXPECT_EQ(listToText({1, 2}), "1:2");
    EXPECT_EQ(listToText({-1, 20, 300, 4}), "-1:20;300;4");
    for (const std::vector<std::int32_t>& path :
         {std::vector<std::int32_t>{}, {5}, {1, 2}, {-1, 20, 300, 4}, {INT32_MIN, INT32_MAX}}) {
        EXPECT_EQ(textToList(listToText(path)), path);
    }
    EXPECT_EQ(codeOf([] { textToList("1:x"); }), XmlExceptionCode::WrongType);
    EXPECT_EQ(codeOf([] { textToList("1:2;3;"); }), XmlExceptionCode::WrongType);
    EXPECT_EQ(codeOf([] { textToList("4294967296"); }), XmlExceptionCode::OutOfRange);
}

// A punctuation that groups by thousands, as many named locales do.
struct Grouping : std::numpunct<char> {
    char do_thousands_sep() const override { return ','; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(NumberFormatting, TheFacetRemovesGroupingFromALocale) {
    const std::locale grouping(std::locale::classic(), new Grouping);
    std::ostringstream grouped;
    grouped.imbue(grouping);
    grouped << 1000000;
    ASSERT_EQ(grouped.str(), "1,000,000");

    std::ostringstream plain;
    plain.imbue(Nerova::Utils::Ncom::Utils::StringHelper::withoutGrouping(grouping, "C"));
    plain << 1000000 << ' ' << 2.5;
    EXPECT_EQ(plain.str(), "1000000 2.5");
}

}  // namespace
}  // namespace serialization_test
