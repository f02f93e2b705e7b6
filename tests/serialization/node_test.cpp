// The node over the reference host's XML documents.
#include "support/xml_test_support.h"

namespace serialization_test {
namespace {

using Nerova::Utils::Ncom::Utils::NerovaNCOMNode;
using vexa::host::asInterface;

TEST(NodeChildren, MissingChildIsADummyThatCannotBeRemoved) {
    Document doc;
    NodePtr missing = doc.root->child("X");
    ASSERT_TRUE(missing);
    EXPECT_TRUE(missing->isDummy());
    EXPECT_EQ(missing->name(), "X");
    EXPECT_EQ(missing->readValue("Value", "fallback"), "fallback") << "reads through a dummy give defaults";
    EXPECT_EQ(doc.root->childCount(), 0u) << "the dummy's element is not attached";

    EXPECT_EQ(codeOf([&] { doc.root->removeChild(missing); }), XmlExceptionCode::DummyNode);
    EXPECT_TRUE(missing) << "a refused removal leaves the caller's handle";
}

TEST(NodeChildren, OpenChildAddsWhileWritingAndFindsWhileReading) {
    Document doc(XmlDocumentObject::writing);
    NodePtr added = doc.root->openChild("X");
    EXPECT_FALSE(added->isDummy());
    added->setText("content");

    doc.root->setWriting(false);
    EXPECT_FALSE(doc.root->isWriting());
    EXPECT_EQ(doc.root->openChild("X")->text(), "content");
    EXPECT_EQ(doc.root->childCount(), 1u) << "reading adds nothing";
    EXPECT_TRUE(doc.root->openChild("Y")->isDummy());
}

TEST(NodeChildren, RemovalEmptiesTheHandleAndDetachesTheElement) {
    Document doc;
    NodePtr first = doc.root->addChild("A");
    doc.root->addChild("B");
    doc.root->removeChild(first);
    EXPECT_FALSE(first);
    ASSERT_EQ(doc.root->childCount(), 1u);
    EXPECT_EQ(doc.root->childAt(0)->parent()->name(), "Setup");
    EXPECT_FALSE(doc.root->parent()) << "the root has no parent";
}

TEST(NodeIndices, AtTheCountGiveNullAndBeyondLongRangeThrow) {
    Document doc;
    doc.root->addChild("A");
    doc.root->addAttribute("a", "1");
    EXPECT_TRUE(doc.root->childAt(0));
    EXPECT_FALSE(doc.root->childAt(1));
    EXPECT_FALSE(doc.root->attribute(1));
    EXPECT_FALSE(doc.root->childAt(2147483647u));
    EXPECT_EQ(codeOf([&] { doc.root->childAt(2147483648u); }), XmlExceptionCode::IndexTooLarge);
    EXPECT_EQ(codeOf([&] { doc.root->attribute(2147483648u); }), XmlExceptionCode::IndexTooLarge);
    EXPECT_EQ(codeOf([&] { doc.root->removeAttributeAt(2147483648u); }), XmlExceptionCode::IndexTooLarge);
}

TEST(NodeReferences, MissingDocumentOrElementIsRefusedBeforeAnyHostCall) {
    Document doc;
    ComPtr<HostXmlElement> element(&doc.object->root());
    NerovaNCOMNode noDocument(nullptr, element);
    NerovaNCOMNode noElement(asInterface<HostXmlDocument>(doc.object), nullptr);
    EXPECT_FALSE(noDocument.isValid());
    EXPECT_FALSE(noElement.isValid());
    EXPECT_EQ(codeOf([&] { noDocument.addChild("X"); }), XmlExceptionCode::DocumentNotSet);
    EXPECT_EQ(codeOf([&] { noElement.childCount(); }), XmlExceptionCode::ElementNotSet);
    EXPECT_EQ(codeOf([&] { noDocument.isWriting(); }), XmlExceptionCode::DocumentNotSet);

    NerovaNCOMNode released(asInterface<HostXmlDocument>(doc.object), element);
    released.release();
    EXPECT_FALSE(released.isValid());
    EXPECT_FALSE(released.document());
}

TEST(NodeAttributes, AreElementsOwnedByTheirElement) {
    Document doc;
    NodePtr item = doc.root->addChild("Item");
    EXPECT_TRUE(item->isEmpty());
    NodePtr id = item->addAttribute("Id", "7");
    item->addAttribute("Kind", "x");
    EXPECT_FALSE(item->isEmpty());
    EXPECT_EQ(item->findAttribute("Id")->text(), "7");
    EXPECT_EQ(id->relatedNode()->name(), "Item");
    EXPECT_FALSE(item->relatedNode());
    EXPECT_FALSE(item->findAttribute("None"));

    item->removeAttributeNamed("Kind");
    item->removeAttributeNamed("None");
    item->removeAttribute(id);
    EXPECT_FALSE(id);
    EXPECT_EQ(item->attributeCount(), 0u);
    item->addAttribute("a", "1");
    item->addAttribute("b", "2");
    item->removeAttributeByIndex(0);
    EXPECT_EQ(item->attribute(0)->name(), "b");
}

TEST(NodeCopies, AppendChildCopiesAWholeSubtreeFromAnotherDocument) {
    Document source;
    NodePtr tree = source.root->addChild("Tree");
    tree->addAttribute("Id", "3");
    tree->addChild("Leaf")->setText("one");
    tree->addChild("Leaf")->setText("two");

    Document target;
    NodePtr copy = target.root->appendChild(*tree);
    EXPECT_EQ(copy->findAttribute("Id")->text(), "3");
    ASSERT_EQ(copy->childCount(), 2u);
    EXPECT_EQ(copy->childAt(1)->text(), "two");
    EXPECT_EQ(copy->parent()->name(), "Setup");
    copy->childAt(0)->setText("changed");
    EXPECT_EQ(tree->childAt(0)->text(), "one") << "the copy is independent of its source";

    NodePtr attribute = target.root->appendAttribute(*source.root->createNode("Mode", "fast"));
    EXPECT_EQ(target.root->findAttribute("Mode")->text(), "fast");
    EXPECT_EQ(attribute->relatedNode()->name(), "Setup");
}

TEST(NodeElements, AssignAndResetChangeWhatTheHandleRefersTo) {
    Document doc;
    NodePtr a = doc.root->addChild("A");
    NodePtr handle = doc.root->createNode("Loose", "text");
    EXPECT_FALSE(handle->parent());
    handle->assign(*a);
    handle->setText("via handle");
    EXPECT_EQ(a->text(), "via handle");
    handle->resetElement("Fresh", "new");
    EXPECT_EQ(handle->name(), "Fresh");
    EXPECT_EQ(a->text(), "via handle");
    EXPECT_EQ(doc.root->findOrAddChild("A")->text(), "via handle");
    doc.root->findOrAddChild("B");
    EXPECT_EQ(doc.root->childCount(), 2u);
}

TEST(XmlExceptionTexts, EachCodeHasItsTextAndCopiesKeepTheCode) {
    const std::pair<int, const char*> texts[] = {
        {static_cast<int>(XmlExceptionCode::DummyNode), "Parameter is a dummy node!"},
        {static_cast<int>(XmlExceptionCode::IndexTooLarge), "NCOM index size is limited to values of long type!"},
        {static_cast<int>(XmlExceptionCode::DocumentNotSet), "NCOM document is not set!"},
        {static_cast<int>(XmlExceptionCode::ElementNotSet), "Inner node is not initialized!"},
        {static_cast<int>(XmlExceptionCode::WrongType), "Node does not contain expected type!"},
        {static_cast<int>(XmlExceptionCode::OutOfRange), "Value is out of range!"},
        {99, "XmlExceptionCode is not set!"},
    };
    for (const auto& [code, text] : texts) {
        const XmlException original(static_cast<XmlExceptionCode>(code));
        const XmlException copy = original;  // NOLINT(performance-unnecessary-copy-initialization)
        EXPECT_EQ(static_cast<int>(copy.code()), code);
        EXPECT_STREQ(copy.what(), text);
    }
}

}  // namespace
}  // namespace serialization_test
