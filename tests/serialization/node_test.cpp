// The node over the reference host's XML documents.
#include <gtest/gtest.h>

#include "host/objects/xml_document.h"
#include "serialization/nerova_ncom_node.h"
#include "serialization/xml_exception.h"

namespace {

using Nerova::Utils::Ncom::Utils::NerovaNCOMNode;
using Nerova::Utils::Ncom::Utils::rootNode;
using Nerova::Utils::Serialization::NodePtr;
using Nerova::Utils::Serialization::XmlException;
using Nerova::Utils::Serialization::XmlExceptionCode;
using vexa::ComPtr;
using vexa::host::asInterface;
using vexa::host::XmlDocumentObject;

XmlExceptionCode codeOf(const auto& action) {
    try {
        action();
    } catch (const XmlException& e) {
        return e.code();
    }
    ADD_FAILURE() << "no XmlException";
    return static_cast<XmlExceptionCode>(-1);
}

struct Document {
    explicit Document(LONG mode = XmlDocumentObject::reading) : object(XmlDocumentObject::create("Setup")) {
        object->setMode(mode);
        root = rootNode(asInterface<HostXmlDocument>(object));
    }
    ComPtr<XmlDocumentObject> object;
    NodePtr root;
};

TEST(NodeChildren, MissingChildIsADummyThatCannotBeRemoved) {
    Document doc;
    NodePtr missing = doc.root->child("X");
    ASSERT_TRUE(missing);
    EXPECT_TRUE(missing->isDummy());
    EXPECT_EQ(missing->name(), "X");
    EXPECT_EQ(missing->readValue("Value", "fallback"), "fallback") << "reads through a dummy give defaults";
    EXPECT_EQ(doc.root->childCount(), 0u) << "the dummy's element is not attached";

    EXPECT_EQ(codeOf([&] { doc.root->removeChild(missing); }), XmlExceptionCode::DummyNode);
    EXPECT_EQ(std::string(XmlException(XmlExceptionCode::DummyNode).what()), "Parameter is a dummy node!");
    EXPECT_TRUE(missing) << "a refused removal leaves the caller's handle";
}

TEST(NodeChildren, OpenChildAddsWhileWritingAndFindsWhileReading) {
    Document doc(XmlDocumentObject::writing);
    NodePtr added = doc.root->openChild("X");
    EXPECT_FALSE(added->isDummy());
    EXPECT_EQ(doc.root->childCount(), 1u);
    added->setText("content");

    doc.root->setWriting(false);
    EXPECT_FALSE(doc.root->isWriting());
    NodePtr found = doc.root->openChild("X");
    EXPECT_FALSE(found->isDummy());
    EXPECT_EQ(found->text(), "content");
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
    EXPECT_EQ(doc.root->childAt(0)->name(), "B");
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
    EXPECT_EQ(std::string(XmlException(XmlExceptionCode::IndexTooLarge).what()),
              "NCOM index size is limited to values of long type!");
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
    EXPECT_EQ(std::string(XmlException(XmlExceptionCode::DocumentNotSet).what()), "NCOM document is not set!");
    EXPECT_EQ(std::string(XmlException(XmlExceptionCode::ElementNotSet).what()), "Inner node is not initialized!");

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
    EXPECT_EQ(item->attributeCount(), 2u);
    EXPECT_EQ(item->findAttribute("Id")->text(), "7");
    EXPECT_EQ(id->relatedNode()->name(), "Item");
    EXPECT_FALSE(item->relatedNode());
    EXPECT_FALSE(item->findAttribute("None"));

    item->removeAttributeNamed("Kind");
    item->removeAttributeNamed("None");
    EXPECT_EQ(item->attributeCount(), 1u);
    item->removeAttribute(id);
    EXPECT_FALSE(id);
    EXPECT_EQ(item->attributeCount(), 0u);
    item->addAttribute("a", "1");
    item->addAttribute("b", "2");
    item->removeAttributeByIndex(0);
    EXPECT_EQ(item->attribute(0)->name(), "b");
    item->clearAttributes();
    EXPECT_TRUE(item->isEmpty());
}

TEST(NodeCopies, AppendChildCopiesAWholeSubtreeFromAnotherDocument) {
    Document source;
    NodePtr tree = source.root->addChild("Tree");
    tree->addAttribute("Id", "3");
    tree->addChild("Leaf")->setText("one");
    tree->addChild("Leaf")->setText("two");

    Document target;
    NodePtr copy = target.root->appendChild(*tree);
    EXPECT_EQ(copy->name(), "Tree");
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
    EXPECT_EQ(handle->name(), "A");
    handle->setText("via handle");
    EXPECT_EQ(a->text(), "via handle");
    handle->resetElement("Fresh", "new");
    EXPECT_EQ(handle->name(), "Fresh");
    EXPECT_EQ(a->text(), "via handle");

    NodePtr found = doc.root->findOrAddChild("A");
    EXPECT_EQ(found->text(), "via handle");
    doc.root->findOrAddChild("B");
    EXPECT_EQ(doc.root->childCount(), 2u);
    doc.root->clearChildren();
    EXPECT_EQ(doc.root->childCount(), 0u);
}

TEST(XmlExceptionTexts, UnknownCodeHasItsOwnTextAndCopiesKeepTheCode) {
    const XmlException original(XmlExceptionCode::OutOfRange);
    const XmlException copy = original;  // NOLINT(performance-unnecessary-copy-initialization)
    EXPECT_EQ(copy.code(), XmlExceptionCode::OutOfRange);
    EXPECT_EQ(std::string(copy.what()), "Value is out of range!");
    EXPECT_EQ(std::string(XmlException(static_cast<XmlExceptionCode>(99)).what()), "XmlExceptionCode is not set!");
}

}  // namespace
