// A node over the host's own XML document and one of its elements. Every
// operation forwards to the host's document and element interfaces.
#pragma once

#include "platform/com_ptr.h"
#include "contract/host_xml.h"
#include "serialization/node.h"

namespace Nerova::Utils::Ncom::Utils {

using Serialization::Node;
using Serialization::NodePtr;

class NerovaNCOMNode : public Node {
public:
    // Either reference may be empty; operations that need one throw
    // XmlException DocumentNotSet or ElementNotSet before any host call.
    NerovaNCOMNode(vexa::ComPtr<HostXmlDocument> document, vexa::ComPtr<HostXmlElement> element) noexcept
        : document_(std::move(document)), element_(std::move(element)) {}

    void release() override;
    NodePtr openChild(const std::string& name) override;
    NodePtr child(const std::string& name) const override;
    NodePtr createNode(const std::string& name, const std::string& text) const override;
    void assign(const Node& node) override;
    void resetElement(const std::string& name, const std::string& text) override;
    void setText(const std::string& text) override;
    NodePtr appendChild(const Node& node) override;
    NodePtr addChild(const std::string& name) override;
    NodePtr parent() const override;
    NodePtr appendAttribute(const Node& node) override;
    void clearChildren() override;
    void clearAttributes() override;
    NodePtr findChild(const std::string& name) const override;
    NodePtr findAttribute(const std::string& name) const override;
    NodePtr attribute(std::uint64_t index) const override;
    NodePtr childAt(std::uint64_t index) const override;
    std::uint32_t attributeCount() const override;
    std::uint32_t childCount() const override;
    void removeAttribute(NodePtr& node) override;
    void removeAttributeAt(std::uint64_t index) override;
    void removeAttributeNamed(const std::string& name) override;
    void removeChild(NodePtr& node) override;
    void removeAttributeByIndex(std::uint64_t index) override;
    void removeAttributeByName(const std::string& name) override;
    std::string name() const override;
    std::string text() const override;
    NodePtr relatedNode() const override;
    void setWriting(bool writing) override;
    bool isWriting() const override;
    bool isValid() const override { return document_ && element_; }
    bool isEmpty() const override;
    void writeValue(const std::string& name, const std::string& value, const std::string& defaultValue) override;
    std::string readValue(const std::string& name, const std::string& defaultValue) const override;
    NodePtr addAttribute(const std::string& name, const std::string& value) override;
    NodePtr findOrAddChild(const std::string& name) override;

    const vexa::ComPtr<HostXmlDocument>& document() const noexcept { return document_; }
    const vexa::ComPtr<HostXmlElement>& element() const noexcept { return element_; }

private:
    HostXmlDocument& requireDocument() const;
    HostXmlElement& requireElement() const;
    NodePtr makeNode(vexa::ComPtr<HostXmlElement> element, bool dummy = false) const;
    vexa::ComPtr<HostXmlElement> createElement(const std::string& name, const std::string& text) const;
    // A copy of `node`'s element, with its attributes and children, made in
    // this node's document.
    vexa::ComPtr<HostXmlElement> copyOf(const Node& node) const;

    vexa::ComPtr<HostXmlDocument> document_;
    vexa::ComPtr<HostXmlElement> element_;
};

// Lets nodes be made with one shared allocation; adds nothing.
class NerovaNCOMNodeCreator final : public NerovaNCOMNode {
public:
    using NerovaNCOMNode::NerovaNCOMNode;
};

// A node for the document's root element.
NodePtr rootNode(vexa::ComPtr<HostXmlDocument> document);

}  // namespace Nerova::Utils::Ncom::Utils
