// A setup document on the reference host and the code of a refused node call.
#pragma once

#include <gtest/gtest.h>

#include "host/objects/xml_document.h"
#include "serialization/nerova_ncom_node.h"
#include "serialization/xml_exception.h"

namespace serialization_test {

using Nerova::Utils::Serialization::NodePtr;
using Nerova::Utils::Serialization::XmlException;
using Nerova::Utils::Serialization::XmlExceptionCode;
using vexa::ComPtr;
using vexa::host::XmlDocumentObject;

inline XmlExceptionCode codeOf(const auto& action) {
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
        root = Nerova::Utils::Ncom::Utils::rootNode(vexa::host::asInterface<HostXmlDocument>(object));
    }
    ComPtr<XmlDocumentObject> object;
    NodePtr root;
};

}  // namespace serialization_test
