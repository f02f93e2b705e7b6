// A node over the host's own XML document and one of its elements.
#pragma once

#include "platform/com_ptr.h"
#include "plugin/host_xml.h"
#include "serialization/node.h"

namespace Nerova::Utils::Ncom::Utils {

class NerovaNCOMNode : public Serialization::Node {
public:
    // Either reference may be empty; operations that need one refuse then.
    NerovaNCOMNode(vexa::ComPtr<HostXmlDocument> document, vexa::ComPtr<HostXmlElement> element) noexcept
        : document_(std::move(document)), element_(std::move(element)) {}

    // Throws XmlException DocumentNotSet without a document.
    void setWriting(bool writing) override;
    bool isWriting() const override;
    bool isValid() const override { return document_ && element_; }

    const vexa::ComPtr<HostXmlDocument>& document() const noexcept { return document_; }
    const vexa::ComPtr<HostXmlElement>& element() const noexcept { return element_; }

private:
    HostXmlDocument& requireDocument() const;

    vexa::ComPtr<HostXmlDocument> document_;
    vexa::ComPtr<HostXmlElement> element_;
};

}  // namespace Nerova::Utils::Ncom::Utils
