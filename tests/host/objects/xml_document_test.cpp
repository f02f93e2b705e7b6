// The reference host's documents: files, named values and the element tree.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/objects/xml_document.h"

namespace {

using vexa::host::XmlDocumentObject;
using vexa::host::XmlElementObject;
using vexa::host::XmlElementPtr;
using vexa::host::XmlFileError;

std::filesystem::path tempFile(const std::string& name) {
    return std::filesystem::temp_directory_path() /
           (name + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".xml");
}

TEST(XmlDocumentFiles, SaveAndLoadKeepTextsAttributesAndOrder) {
    auto document = XmlDocumentObject::create("Setup");
    XmlElementObject& root = document->root();
    XmlElementPtr list = document->createElement("List", {});
    list->addAttribute(document->createElement("Version", "1"));
    list->addAttribute(document->createElement("Quote", "a \"b\" <c> & d\te\nf"));
    root.appendChild(list);
    const std::vector<std::string> texts{"plain", "  leading blanks", "trailing  ", "<&>", "\xC2\xB5V", "\n", ""};
    for (const std::string& text : texts) list->appendChild(document->createElement("Item", text));
    XmlElementPtr mixed = document->createElement("Mixed", "text before children");
    mixed->appendChild(document->createElement("Inner", "x"));
    root.appendChild(mixed);

    const auto path = tempFile("document");
    document->save(path);
    auto loaded = XmlDocumentObject::load(path);
    std::filesystem::remove(path);

    EXPECT_EQ(loaded->root().name(), "Setup");
    const XmlElementObject* loadedList = loaded->root().findChild("List");
    ASSERT_NE(loadedList, nullptr);
    EXPECT_EQ(loadedList->attributeValue("Version"), "1");
    EXPECT_EQ(loadedList->attributeValue("Quote"), "a \"b\" <c> & d\te\nf");
    const auto items = loadedList->childrenNamed("Item");
    ASSERT_EQ(items.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(items[i]->text(), texts[i]) << "item " << i;
    const XmlElementObject* loadedMixed = loaded->root().findChild("Mixed");
    EXPECT_EQ(loadedMixed->text(), "text before children");
    EXPECT_EQ(loadedMixed->findChild("Inner")->text(), "x");
    EXPECT_EQ(loaded->toText(), document->toText()) << "a second trip changes nothing";
}

TEST(XmlDocumentFiles, BrokenOrMissingFilesAreReported) {
    EXPECT_THROW(XmlDocumentObject::parse("<A><B></A>"), XmlFileError);
    EXPECT_THROW(XmlDocumentObject::parse("no markup"), XmlFileError);
    EXPECT_THROW(XmlDocumentObject::parse(""), XmlFileError);
    EXPECT_THROW(XmlDocumentObject::load(tempFile("missing")), XmlFileError);
    auto parsed = XmlDocumentObject::parse("<?xml version=\"1.0\"?><!-- note --><A x=\"1\"><![CDATA[<raw>]]></A>");
    EXPECT_EQ(parsed->root().attributeValue("x"), "1");
    EXPECT_EQ(parsed->root().text(), "<raw>");
}

TEST(XmlElements, RefuseForeignElementsAndCycles) {
    auto first = XmlDocumentObject::create("A");
    auto second = XmlDocumentObject::create("B");
    XmlElementPtr foreign = second->createElement("X", {});
    EXPECT_EQ(first->root().AppendChild(foreign.get()), E_INVALIDARG);
    EXPECT_EQ(first->root().AddAttribute(foreign.get()), E_INVALIDARG);

    XmlElementPtr child = first->createElement("Child", {});
    first->root().appendChild(child);
    EXPECT_EQ(child->AppendChild(&first->root()), E_INVALIDARG) << "an element cannot hold its ancestor";
    EXPECT_EQ(child->AppendChild(child.get()), E_INVALIDARG);
    EXPECT_EQ(first->root().RemoveChild(foreign.get()), E_INVALIDARG);
    EXPECT_EQ(first->root().GetChild(1, nullptr), E_INVALIDARG);
}

TEST(XmlElements, MovingAnElementDetachesItFromItsOldParent) {
    auto document = XmlDocumentObject::create("Root");
    XmlElementPtr a = document->createElement("A", {});
    XmlElementPtr b = document->createElement("B", {});
    XmlElementPtr item = document->createElement("Item", {});
    document->root().appendChild(a);
    document->root().appendChild(b);
    a->appendChild(item);
    b->appendChild(item);
    EXPECT_TRUE(a->children().empty());
    EXPECT_EQ(item->parent(), b.get());

    XmlElementPtr attribute = document->createElement("Id", "1");
    a->addAttribute(attribute);
    a->addAttribute(document->createElement("Id", "2"));
    ASSERT_EQ(a->attributes().size(), 1u) << "an attribute of the same name is replaced";
    EXPECT_EQ(a->attributeValue("Id"), "2");
    EXPECT_EQ(attribute->owner(), nullptr);

    document->root().removeChild(*b);
    EXPECT_EQ(b->parent(), nullptr);
    EXPECT_EQ(item->parent(), b.get()) << "the removed element keeps its own children";
}

}  // namespace
