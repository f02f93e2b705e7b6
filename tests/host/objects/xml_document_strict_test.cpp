// What the reference host's documents refuse through their interfaces.
#include <gtest/gtest.h>

#include "host/objects/xml_document.h"
#include "platform/bstr.h"

namespace {

using namespace vexa::host;
using vexa::Bstr;
using vexa::ComPtr;

TEST(XmlDocumentInterface, NamesMustBeXmlNames) {
    auto document = XmlDocumentObject::create("Setup");
    HostXmlElement* root = &document->root();
    struct Case {
        const char* name;
        bool taken;
    };
    const Case cases[] = {
        {"Output", true}, {"a-b.c_d:e9", true}, {"_x", true}, {"\xC2\xB5V", true},
        {"", false},      {"two words", false}, {"1st", false}, {"-x", false}, {"a<b", false},
    };
    for (const Case& c : cases) {
        const HRESULT expected = c.taken ? S_OK : E_INVALIDARG;
        const Bstr name(c.name);
        ComPtr<HostXmlElement> element;
        EXPECT_EQ(document->CreateElement(name.get(), Bstr("t").get(), element.put()), expected) << c.name;
        EXPECT_EQ(document->WriteValue(root, name.get(), Bstr("v").get(), Bstr("d").get()), expected) << c.name;
        Bstr value;
        EXPECT_EQ(document->ReadValue(root, name.get(), value.put(), Bstr("d").get()), expected) << c.name;
    }
    EXPECT_EQ(document->root().children().size(), 4u) << "one value for each name taken";
}

TEST(XmlDocumentInterface, ADocumentWorksOnlyOnItsOwnElementsAndModes) {
    auto document = XmlDocumentObject::create("Setup");
    auto other = XmlDocumentObject::create("Other");
    HostXmlElement* foreign = &other->root();
    Bstr text;
    EXPECT_EQ(document->GetElementName(foreign, text.put()), E_INVALIDARG);
    EXPECT_EQ(document->GetElementText(foreign, text.put()), E_INVALIDARG);
    EXPECT_EQ(document->WriteValue(foreign, Bstr("A").get(), Bstr("1").get(), Bstr("").get()), E_INVALIDARG);
    EXPECT_EQ(document->root().AppendChild(foreign), E_INVALIDARG);
    EXPECT_EQ(other->GetElementName(foreign, text.put()), S_OK);
    EXPECT_EQ(text.utf8(), "Other");

    for (const LONG mode : {2, -1}) EXPECT_EQ(document->SetMode(mode), E_INVALIDARG) << mode;
    EXPECT_EQ(document->SetMode(XmlDocumentObject::writing), S_OK);
    EXPECT_EQ(document->mode(), XmlDocumentObject::writing);
}

TEST(XmlDocumentInterface, AnAttributeIsANameAndATextOnly) {
    auto document = XmlDocumentObject::create("Setup");
    XmlElementPtr attribute = document->createElement("Id", "4");
    attribute->appendChild(document->createElement("Inner", {}));
    EXPECT_EQ(document->root().AddAttribute(attribute.get()), E_INVALIDARG);
    EXPECT_TRUE(document->root().attributes().empty());
    EXPECT_EQ(document->root().AddAttribute(document->createElement("Id", "4").get()), S_OK);
    EXPECT_EQ(document->root().attributeValue("Id"), "4");
}

}  // namespace
