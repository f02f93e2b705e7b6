// Nodes over a host document that fails some of its calls: the failure
// reaches the caller as a COM error of the interface that failed, with the
// host's description, and the document is left as it was.
#include <functional>
#include <string>

#include "host/objects/host_object.h"
#include "platform/com_error.h"
#include "serialization/node_values.h"
#include "support/xml_test_support.h"

namespace serialization_test {
namespace {

using namespace Nerova::Utils::Serialization;
using vexa::ComError;
using vexa::host::HostFault;

constexpr const char* kDescription = "the document is read-only";

// The root holds an element A with an attribute Id and a value V.
struct Filled : Document {
    Filled() {
        NodePtr a = root->addChild("A");
        a->addAttribute("Id", "4");
        writeText(*root, "V", "stored");
    }
};

TEST(NodeAgainstAFailingHost, AFailedCallIsAComErrorOfItsInterfaceAndChangesNothing) {
    enum Target { OnDocument, OnRoot };
    struct Case {
        const char* what;
        Target target;
        int method;
        std::function<void(Node&)> operation;
    };
    const Case cases[] = {
        {"addChild: create", OnDocument, 9, [](Node& n) { n.addChild("B"); }},
        {"addChild: append", OnRoot, 8, [](Node& n) { n.addChild("B"); }},
        {"addAttribute", OnRoot, 16, [](Node& n) { n.addAttribute("Version", "1"); }},
        {"child: find", OnRoot, 11, [](Node& n) { n.child("A"); }},
        {"child: dummy", OnDocument, 9, [](Node& n) { n.child("Missing"); }},
        {"childAt: count", OnRoot, 13, [](Node& n) { n.childAt(0); }},
        {"childAt: child", OnRoot, 12, [](Node& n) { n.childAt(0); }},
        {"attribute: count", OnRoot, 20, [](Node& n) { n.attribute(0); }},
        {"findAttribute", OnRoot, 18, [](Node& n) { n.findAttribute("Id"); }},
        {"writeValue", OnDocument, 16, [](Node& n) { writeNumber(n, "V", 7); }},
        {"readValue", OnDocument, 17, [](Node& n) { readNumber<int>(n, "V", 0); }},
        {"readBool", OnDocument, 17, [](Node& n) { readBool(n, "V", true); }},
        {"setText", OnRoot, 7, [](Node& n) { n.setText("x"); }},
        {"text", OnRoot, 23, [](Node& n) { n.text(); }},
        {"name", OnRoot, 22, [](Node& n) { n.name(); }},
        {"clearChildren", OnRoot, 10, [](Node& n) { n.clearChildren(); }},
        {"clearAttributes", OnRoot, 21, [](Node& n) { n.clearAttributes(); }},
        {"isWriting", OnDocument, 19, [](Node& n) { n.isWriting(); }},
        {"setWriting", OnDocument, 20, [](Node& n) { n.setWriting(true); }},
        {"openChild", OnDocument, 19, [](Node& n) { n.openChild("A"); }},
        {"isEmpty", OnRoot, 13, [](Node& n) { n.isEmpty(); }},
    };
    for (const Case& c : cases) {
        Filled doc;
        const std::string before = doc.object->toText();
        const HostFault fault = HostFault(E_UNEXPECTED).describedAs(kDescription);
        if (c.target == OnDocument) doc.object->failMethod(c.method, fault);
        else doc.object->root().failMethod(c.method, fault);
        try {
            c.operation(*doc.root);
            ADD_FAILURE() << c.what << ": no failure";
        } catch (const ComError& error) {
            EXPECT_EQ(error.result(), E_UNEXPECTED) << c.what;
            EXPECT_TRUE(error.iid() == (c.target == OnDocument ? vexa::interfaceId<HostXmlDocument>()
                                                               : vexa::interfaceId<HostXmlElement>()))
                << c.what;
            EXPECT_EQ(error.message(), kDescription) << c.what;
        }
        EXPECT_EQ(doc.object->toText(), before) << c.what;
        EXPECT_EQ(doc.object->mode(), XmlDocumentObject::reading) << c.what;
    }
}

TEST(NodeAgainstAFailingHost, ARemovalTheHostRefusesKeepsTheCallersHandle) {
    Filled doc;
    NodePtr a = doc.root->findChild("A");
    doc.object->root().failMethod(9, HostFault(E_UNEXPECTED).failing(1));
    EXPECT_THROW(doc.root->removeChild(a), ComError);
    ASSERT_TRUE(a) << "the element is still there, and so is the handle";
    EXPECT_EQ(a->name(), "A");
    doc.root->removeChild(a);
    EXPECT_FALSE(a);
    EXPECT_EQ(doc.root->childCount(), 1u) << "only the value V is left";
}

TEST(NodeAgainstAFailingHost, ACopyFailsWhenTheSourceDocumentFailsAndAddsNothing) {
    Filled source;
    Document target;
    const std::string before = target.object->toText();
    for (const int method : {26, 27}) {
        source.object->failMethod(method, HostFault(E_UNEXPECTED).failing(1));
        EXPECT_THROW(target.root->appendChild(*source.root->findChild("A")), ComError) << method;
        EXPECT_EQ(target.object->toText(), before) << method;
    }
    NodePtr copy = target.root->appendChild(*source.root->findChild("A"));
    EXPECT_EQ(copy->findAttribute("Id")->text(), "4");
}

}  // namespace
}  // namespace serialization_test
