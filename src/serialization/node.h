// An element handle over a setup document, held by shared pointer. One set
// of operations serves saving and loading: the document carries the
// direction, and openChild adds a child while writing and finds it while
// reading, so a saver and its loader can share their structure.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace Nerova::Utils::Serialization {

class Node;
using NodePtr = std::shared_ptr<Node>;

class Node {
public:
    virtual ~Node() = default;

    // Drops the references to the document and the element.
    virtual void release() = 0;
    // addChild while the document is written, child while it is read.
    virtual NodePtr openChild(const std::string& name) = 0;
    // The first child of that name; a dummy node (not attached anywhere)
    // when there is none, so that reads through it give their defaults.
    virtual NodePtr child(const std::string& name) const = 0;
    // A node for a new element of this document that is not attached.
    virtual NodePtr createNode(const std::string& name, const std::string& text) const = 0;
    // This node now refers to the element of `node`.
    virtual void assign(const Node& node) = 0;
    // This node now refers to a new element that is not attached.
    virtual void resetElement(const std::string& name, const std::string& text) = 0;
    virtual void setText(const std::string& text) = 0;
    // Appends a copy of `node` (which may belong to another document).
    virtual NodePtr appendChild(const Node& node) = 0;
    virtual NodePtr addChild(const std::string& name) = 0;
    virtual NodePtr parent() const = 0;
    // Adds a copy of `node` as an attribute.
    virtual NodePtr appendAttribute(const Node& node) = 0;
    virtual void clearChildren() = 0;
    virtual void clearAttributes() = 0;
    // Null when there is none.
    virtual NodePtr findChild(const std::string& name) const = 0;
    virtual NodePtr findAttribute(const std::string& name) const = 0;
    // Null at or past the count; indices beyond the host's 32-bit range
    // throw XmlException IndexTooLarge.
    virtual NodePtr attribute(std::uint64_t index) const = 0;
    virtual NodePtr childAt(std::uint64_t index) const = 0;
    virtual std::uint32_t attributeCount() const = 0;
    virtual std::uint32_t childCount() const = 0;
    // The removals empty the caller's handle; a dummy throws DummyNode.
    virtual void removeAttribute(NodePtr& node) = 0;
    virtual void removeAttributeAt(std::uint64_t index) = 0;
    virtual void removeAttributeNamed(const std::string& name) = 0;
    virtual void removeChild(NodePtr& node) = 0;
    // Second entries for the attribute removals by index and by name, kept
    // because the interface's order is fixed; they behave exactly alike.
    virtual void removeAttributeByIndex(std::uint64_t index) = 0;
    virtual void removeAttributeByName(const std::string& name) = 0;
    virtual std::string name() const = 0;
    virtual std::string text() const = 0;
    // Null when the document relates nothing to this element.
    virtual NodePtr relatedNode() const = 0;
    // Sets the direction of the whole document.
    virtual void setWriting(bool writing) = 0;
    virtual bool isWriting() const = 0;
    // The handle refers to an element of a document.
    virtual bool isValid() const = 0;
    // No children, no attributes, no text.
    virtual bool isEmpty() const = 0;
    // A named value of this element. The document stores nothing for a
    // value equal to the default and answers the default for a missing one.
    virtual void writeValue(const std::string& name, const std::string& value,
                            const std::string& defaultValue) = 0;
    virtual std::string readValue(const std::string& name, const std::string& defaultValue) const = 0;
    virtual NodePtr addAttribute(const std::string& name, const std::string& value) = 0;
    virtual NodePtr findOrAddChild(const std::string& name) = 0;

    // Stands for an element that the document does not contain.
    bool isDummy() const noexcept { return dummy_; }
    // Appended to a written value to make its default, so that the default
    // never equals the value and the value is always stored.
    const std::string& defaultSuffix() const noexcept { return defaultSuffix_; }

protected:
    Node() = default;
    Node(const Node&) = default;
    Node& operator=(const Node&) = default;

    void setDummy(bool dummy) noexcept { dummy_ = dummy; }

private:
    bool dummy_ = false;
    std::string note_;  // carried for the document layer; no operation uses it
    std::string defaultSuffix_ = "#";
};

}  // namespace Nerova::Utils::Serialization
