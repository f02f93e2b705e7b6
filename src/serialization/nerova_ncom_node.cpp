#include "serialization/nerova_ncom_node.h"

#include <limits>

#include "platform/com_call.h"
#include "serialization/xml_exception.h"

namespace Nerova::Utils::Ncom::Utils {

using Serialization::XmlException;
using Serialization::XmlExceptionCode;
using vexa::ComPtr;
using vexa::Bstr;

namespace {

// The document's mode values.
constexpr LONG readingMode = 0;
constexpr LONG writingMode = 1;

// The host counts in 32-bit signed integers.
LONG hostIndex(std::uint64_t index) {
    if (index > static_cast<std::uint64_t>(std::numeric_limits<LONG>::max()))
        throw XmlException(XmlExceptionCode::IndexTooLarge);
    return static_cast<LONG>(index);
}

const NerovaNCOMNode& hostNode(const Node& node) {
    const auto* hosted = dynamic_cast<const NerovaNCOMNode*>(&node);
    if (hosted == nullptr) throw XmlException(XmlExceptionCode::NodeArgumentNull);
    return *hosted;
}

ComPtr<HostXmlElement> copyElement(HostXmlDocument& source, HostXmlElement& element, HostXmlDocument& target) {
    Bstr name;
    Bstr text;
    vexa::checkCall(source.GetElementName(&element, name.put()), &source);
    vexa::checkCall(source.GetElementText(&element, text.put()), &source);
    ComPtr<HostXmlElement> copy;
    vexa::checkCall(target.CreateElement(name.get(), text.get(), copy.put()), &target);
    HostXmlElement& result = *vexa::required(copy);

    const LONG attributes = vexa::callGet(&element, &HostXmlElement::GetAttributeCount);
    for (LONG i = 0; i < attributes; ++i) {
        ComPtr<HostXmlElement> attribute;
        vexa::checkCall(element.GetAttribute(i, attribute.put()), &element);
        ComPtr<HostXmlElement> copied = copyElement(source, *vexa::required(attribute), target);
        vexa::checkCall(result.AddAttribute(copied.get()), &result);
    }
    const LONG children = vexa::callGet(&element, &HostXmlElement::GetChildCount);
    for (LONG i = 0; i < children; ++i) {
        ComPtr<HostXmlElement> child;
        vexa::checkCall(element.GetChild(i, child.put()), &element);
        ComPtr<HostXmlElement> copied = copyElement(source, *vexa::required(child), target);
        vexa::checkCall(result.AppendChild(copied.get()), &result);
    }
    return copy;
}

}  // namespace

HostXmlDocument& NerovaNCOMNode::requireDocument() const {
    if (!document_) throw XmlException(XmlExceptionCode::DocumentNotSet);
    return *document_;
}

HostXmlElement& NerovaNCOMNode::requireElement() const {
    if (!element_) throw XmlException(XmlExceptionCode::ElementNotSet);
    return *element_;
}

NodePtr NerovaNCOMNode::makeNode(ComPtr<HostXmlElement> element, bool dummy) const {
    auto node = std::make_shared<NerovaNCOMNodeCreator>(document_, std::move(element));
    node->setDummy(dummy);
    return node;
}

ComPtr<HostXmlElement> NerovaNCOMNode::createElement(const std::string& name, const std::string& text) const {
    HostXmlDocument& document = requireDocument();
    Bstr hostName(name);
    Bstr hostText(text);
    ComPtr<HostXmlElement> element;
    vexa::checkCall(document.CreateElement(hostName.get(), hostText.get(), element.put()), &document);
    return element;
}

ComPtr<HostXmlElement> NerovaNCOMNode::copyOf(const Node& node) const {
    const NerovaNCOMNode& source = hostNode(node);
    return copyElement(source.requireDocument(), source.requireElement(), requireDocument());
}

void NerovaNCOMNode::release() {
    if (document_ && element_) {
        element_.reset();
        document_.reset();
    }
}

NodePtr NerovaNCOMNode::openChild(const std::string& name) {
    return isWriting() ? addChild(name) : child(name);
}

NodePtr NerovaNCOMNode::child(const std::string& name) const {
    if (NodePtr found = findChild(name)) return found;
    return makeNode(createElement(name, {}), true);
}

NodePtr NerovaNCOMNode::createNode(const std::string& name, const std::string& text) const {
    return makeNode(createElement(name, text));
}

void NerovaNCOMNode::assign(const Node& node) {
    requireDocument();
    const NerovaNCOMNode& other = hostNode(node);
    element_ = other.element_;
    setDummy(other.isDummy());
}

void NerovaNCOMNode::resetElement(const std::string& name, const std::string& text) {
    element_ = createElement(name, text);
    setDummy(false);
}

void NerovaNCOMNode::setText(const std::string& text) {
    vexa::callSetText(&requireElement(), &HostXmlElement::SetText, text);
}

NodePtr NerovaNCOMNode::appendChild(const Node& node) {
    requireDocument();
    HostXmlElement& element = requireElement();
    ComPtr<HostXmlElement> copy = copyOf(node);
    vexa::checkCall(element.AppendChild(copy.get()), &element);
    return makeNode(std::move(copy));
}

NodePtr NerovaNCOMNode::addChild(const std::string& name) {
    requireDocument();
    HostXmlElement& element = requireElement();
    ComPtr<HostXmlElement> child = createElement(name, {});
    vexa::checkCall(element.AppendChild(child.get()), &element);
    return makeNode(std::move(child));
}

NodePtr NerovaNCOMNode::parent() const {
    requireDocument();
    ComPtr<HostXmlElement> parent = vexa::callGetObject(&requireElement(), &HostXmlElement::GetParent);
    return parent ? makeNode(std::move(parent), isDummy()) : nullptr;
}

NodePtr NerovaNCOMNode::appendAttribute(const Node& node) {
    requireDocument();
    HostXmlElement& element = requireElement();
    ComPtr<HostXmlElement> copy = copyOf(node);
    vexa::checkCall(element.AddAttribute(copy.get()), &element);
    return makeNode(std::move(copy));
}

void NerovaNCOMNode::clearChildren() {
    HostXmlElement& element = requireElement();
    vexa::checkCall(element.ClearChildren(), &element);
}

void NerovaNCOMNode::clearAttributes() {
    HostXmlElement& element = requireElement();
    vexa::checkCall(element.ClearAttributes(), &element);
}

NodePtr NerovaNCOMNode::findChild(const std::string& name) const {
    requireDocument();
    HostXmlElement& element = requireElement();
    Bstr hostName(name);
    ComPtr<HostXmlElement> child;
    vexa::checkCall(element.FindChild(hostName.get(), child.put()), &element);
    return child ? makeNode(std::move(child)) : nullptr;
}

NodePtr NerovaNCOMNode::findAttribute(const std::string& name) const {
    requireDocument();
    HostXmlElement& element = requireElement();
    Bstr hostName(name);
    ComPtr<HostXmlElement> attribute;
    vexa::checkCall(element.FindAttribute(hostName.get(), attribute.put()), &element);
    return attribute ? makeNode(std::move(attribute)) : nullptr;
}

NodePtr NerovaNCOMNode::attribute(std::uint64_t index) const {
    requireDocument();
    HostXmlElement& element = requireElement();
    const LONG position = hostIndex(index);
    if (index >= attributeCount()) return nullptr;
    ComPtr<HostXmlElement> attribute;
    vexa::checkCall(element.GetAttribute(position, attribute.put()), &element);
    return makeNode(std::move(attribute));
}

NodePtr NerovaNCOMNode::childAt(std::uint64_t index) const {
    requireDocument();
    HostXmlElement& element = requireElement();
    const LONG position = hostIndex(index);
    if (index >= childCount()) return nullptr;
    ComPtr<HostXmlElement> child;
    vexa::checkCall(element.GetChild(position, child.put()), &element);
    return makeNode(std::move(child));
}

std::uint32_t NerovaNCOMNode::attributeCount() const {
    return static_cast<std::uint32_t>(vexa::callGet(&requireElement(), &HostXmlElement::GetAttributeCount));
}

std::uint32_t NerovaNCOMNode::childCount() const {
    return static_cast<std::uint32_t>(vexa::callGet(&requireElement(), &HostXmlElement::GetChildCount));
}

void NerovaNCOMNode::removeAttribute(NodePtr& node) {
    HostXmlElement& element = requireElement();
    if (!node) throw XmlException(XmlExceptionCode::NodeArgumentNull);
    if (node->isDummy()) throw XmlException(XmlExceptionCode::DummyNode);
    vexa::checkCall(element.RemoveAttribute(hostNode(*node).element_.get()), &element);
    node.reset();
}

void NerovaNCOMNode::removeAttributeAt(std::uint64_t index) {
    HostXmlElement& element = requireElement();
    ComPtr<HostXmlElement> attribute;
    vexa::checkCall(element.GetAttribute(hostIndex(index), attribute.put()), &element);
    vexa::checkCall(element.RemoveAttribute(attribute.get()), &element);
}

void NerovaNCOMNode::removeAttributeNamed(const std::string& name) {
    HostXmlElement& element = requireElement();
    Bstr hostName(name);
    ComPtr<HostXmlElement> attribute;
    vexa::checkCall(element.FindAttribute(hostName.get(), attribute.put()), &element);
    if (attribute) vexa::checkCall(element.RemoveAttribute(attribute.get()), &element);
}

void NerovaNCOMNode::removeChild(NodePtr& node) {
    HostXmlElement& element = requireElement();
    if (!node) throw XmlException(XmlExceptionCode::NodeArgumentNull);
    if (node->isDummy()) throw XmlException(XmlExceptionCode::DummyNode);
    vexa::checkCall(element.RemoveChild(hostNode(*node).element_.get()), &element);
    node.reset();
}

void NerovaNCOMNode::removeAttributeByIndex(std::uint64_t index) { removeAttributeAt(index); }

void NerovaNCOMNode::removeAttributeByName(const std::string& name) { removeAttributeNamed(name); }

std::string NerovaNCOMNode::name() const { return vexa::callGetText(&requireElement(), &HostXmlElement::GetName); }

std::string NerovaNCOMNode::text() const { return vexa::callGetText(&requireElement(), &HostXmlElement::GetText); }

NodePtr NerovaNCOMNode::relatedNode() const {
    requireDocument();
    ComPtr<HostXmlElement> related = vexa::callGetObject(&requireElement(), &HostXmlElement::GetRelated);
    return related ? makeNode(std::move(related)) : nullptr;
}

void NerovaNCOMNode::setWriting(bool writing) {
    vexa::callSet(&requireDocument(), &HostXmlDocument::SetMode, writing ? writingMode : readingMode);
}

bool NerovaNCOMNode::isWriting() const {
    return vexa::callGet(&requireDocument(), &HostXmlDocument::GetMode) == writingMode;
}

bool NerovaNCOMNode::isEmpty() const {
    requireDocument();
    return childCount() == 0 && attributeCount() == 0 && text().empty();
}

void NerovaNCOMNode::writeValue(const std::string& name, const std::string& value,
                                const std::string& defaultValue) {
    HostXmlDocument& document = requireDocument();
    HostXmlElement& element = requireElement();
    Bstr hostName(name);
    Bstr hostValue(value);
    Bstr hostDefault(defaultValue);
    vexa::checkCall(document.WriteValue(&element, hostName.get(), hostValue.get(), hostDefault.get()), &document);
}

std::string NerovaNCOMNode::readValue(const std::string& name, const std::string& defaultValue) const {
    HostXmlDocument& document = requireDocument();
    HostXmlElement& element = requireElement();
    Bstr hostName(name);
    Bstr hostDefault(defaultValue);
    Bstr value;
    vexa::checkCall(document.ReadValue(&element, hostName.get(), value.put(), hostDefault.get()), &document);
    return value.utf8();
}

NodePtr NerovaNCOMNode::addAttribute(const std::string& name, const std::string& value) {
    requireDocument();
    HostXmlElement& element = requireElement();
    ComPtr<HostXmlElement> attribute = createElement(name, value);
    vexa::checkCall(element.AddAttribute(attribute.get()), &element);
    return makeNode(std::move(attribute));
}

NodePtr NerovaNCOMNode::findOrAddChild(const std::string& name) {
    if (NodePtr found = findChild(name)) return found;
    return addChild(name);
}

NodePtr rootNode(ComPtr<HostXmlDocument> document) {
    if (!document) throw XmlException(XmlExceptionCode::DocumentArgumentNull);
    ComPtr<HostXmlElement> root = vexa::callGetObject(document.get(), &HostXmlDocument::GetRootElement);
    return std::make_shared<NerovaNCOMNodeCreator>(std::move(document), std::move(root));
}

}  // namespace Nerova::Utils::Ncom::Utils
