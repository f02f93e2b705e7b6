#include "serialization/nerova_ncom_node.h"

#include "platform/com_error.h"
#include "serialization/xml_exception.h"

namespace Nerova::Utils::Ncom::Utils {

using Serialization::XmlException;
using Serialization::XmlExceptionCode;

namespace {
// The document's mode values.
constexpr LONG readingMode = 0;
constexpr LONG writingMode = 1;
}  // namespace

HostXmlDocument& NerovaNCOMNode::requireDocument() const {
    if (!document_) throw XmlException(XmlExceptionCode::DocumentNotSet);
    return *document_;
}

void NerovaNCOMNode::setWriting(bool writing) {
    HostXmlDocument& document = requireDocument();
    vexa::checkCall(document.SetMode(writing ? writingMode : readingMode), &document);
}

bool NerovaNCOMNode::isWriting() const {
    HostXmlDocument& document = requireDocument();
    LONG mode = readingMode;
    vexa::checkCall(document.GetMode(&mode), &document);
    return mode == writingMode;
}

}  // namespace Nerova::Utils::Ncom::Utils
