// The reference host's XML documents. A document is a tree of element
// objects that the plug-in reaches through HostXmlDocument and
// HostXmlElement; files are read and written through RapidXML.
//
// Attributes are elements too: an attribute is an element attached to its
// owner with AddAttribute, its text is the attribute's value, and its
// related element (method 15) is the owner. A named value is a child
// element holding the value as its text.
//
// Assumptions about the real host, which keeps its documents in a real XML
// model and writes them to files:
// - Element, attribute and value names must be XML names; CreateElement,
//   WriteValue and ReadValue refuse others (E_INVALIDARG).
// - A document works only on its own elements: an element of another
//   document passed to WriteValue, ReadValue, GetElementName,
//   GetElementText, AppendChild or AddAttribute is refused (E_INVALIDARG).
// - An attribute is a name and a text: an element with children or
//   attributes cannot become one.
// - The mode is 0 (reading) or 1 (writing); SetMode refuses other values.
// - Indices at or beyond a count are refused (E_INVALIDARG), as is the
//   removal of an element that is not a child or attribute of the element.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "host/objects/host_object.h"
#include "contract/host_xml.h"

namespace vexa::host {

class XmlElementObject;
using XmlElementPtr = ComPtr<XmlElementObject>;

// A file that cannot be read, parsed or written.
class XmlFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class XmlElementObject final : public HostObject<HostXmlElement> {
public:
    XmlElementObject(std::uint64_t documentId, std::string name, std::string text)
        : documentId_(documentId), name_(std::move(name)), text_(std::move(text)) {}

    HRESULT STDMETHODCALLTYPE SetText(BSTR text) override;
    HRESULT STDMETHODCALLTYPE AppendChild(HostXmlElement* child) override;
    HRESULT STDMETHODCALLTYPE RemoveChild(HostXmlElement* child) override;
    HRESULT STDMETHODCALLTYPE ClearChildren() override;
    HRESULT STDMETHODCALLTYPE FindChild(BSTR name, HostXmlElement** child) override;
    HRESULT STDMETHODCALLTYPE GetChild(LONG index, HostXmlElement** child) override;
    HRESULT STDMETHODCALLTYPE GetChildCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE GetParent(HostXmlElement** parent) override;
    HRESULT STDMETHODCALLTYPE GetRelated(HostXmlElement** related) override;
    HRESULT STDMETHODCALLTYPE AddAttribute(HostXmlElement* attribute) override;
    HRESULT STDMETHODCALLTYPE RemoveAttribute(HostXmlElement* attribute) override;
    HRESULT STDMETHODCALLTYPE FindAttribute(BSTR name, HostXmlElement** attribute) override;
    HRESULT STDMETHODCALLTYPE GetAttribute(LONG index, HostXmlElement** attribute) override;
    HRESULT STDMETHODCALLTYPE GetAttributeCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE ClearAttributes() override;
    HRESULT STDMETHODCALLTYPE GetName(BSTR* name) override;
    HRESULT STDMETHODCALLTYPE GetText(BSTR* text) override;

    // The host's own view, for the host program and tests.
    const std::string& name() const noexcept { return name_; }
    const std::string& text() const noexcept { return text_; }
    void setText(std::string text) { text_ = std::move(text); }
    const std::vector<XmlElementPtr>& children() const noexcept { return children_; }
    const std::vector<XmlElementPtr>& attributes() const noexcept { return attributes_; }
    XmlElementObject* parent() const noexcept { return parent_; }
    XmlElementObject* owner() const noexcept { return owner_; }
    std::uint64_t documentId() const noexcept { return documentId_; }

    XmlElementObject* findChild(std::string_view name) const noexcept;
    std::vector<XmlElementObject*> childrenNamed(std::string_view name) const;
    XmlElementObject* findAttribute(std::string_view name) const noexcept;
    // The attribute's value, or an empty text.
    std::string attributeValue(std::string_view name) const;

    // Both throw ComError(E_INVALIDARG) for an element of another document
    // or one that would become its own ancestor.
    void appendChild(XmlElementPtr child);
    // An attribute of the same name is replaced.
    void addAttribute(XmlElementPtr attribute);
    void removeChild(XmlElementObject& child);
    void removeAttribute(XmlElementObject& attribute);

private:
    ~XmlElementObject() override;
    void checkAdoptable(const XmlElementObject& element) const;
    void detach();

    std::uint64_t documentId_;
    std::string name_;
    std::string text_;
    std::vector<XmlElementPtr> children_;
    std::vector<XmlElementPtr> attributes_;
    XmlElementObject* parent_ = nullptr;  // set while attached as a child
    XmlElementObject* owner_ = nullptr;   // set while attached as an attribute
};

class XmlDocumentObject final : public HostObject<HostXmlDocument> {
public:
    // The document's modes.
    static constexpr LONG reading = 0;
    static constexpr LONG writing = 1;

    static ComPtr<XmlDocumentObject> create(const std::string& rootName);
    // All three throw XmlFileError.
    static ComPtr<XmlDocumentObject> parse(std::string_view text);
    static ComPtr<XmlDocumentObject> load(const std::filesystem::path& path);
    void save(const std::filesystem::path& path) const;
    std::string toText() const;

    HRESULT STDMETHODCALLTYPE GetRootElement(HostXmlElement** root) override;
    HRESULT STDMETHODCALLTYPE CreateElement(BSTR name, BSTR text, HostXmlElement** element) override;
    HRESULT STDMETHODCALLTYPE WriteValue(HostXmlElement* element, BSTR name, BSTR value,
                                         BSTR defaultValue) override;
    HRESULT STDMETHODCALLTYPE ReadValue(HostXmlElement* element, BSTR name, BSTR* value,
                                        BSTR defaultValue) override;
    HRESULT STDMETHODCALLTYPE GetMode(LONG* mode) override;
    HRESULT STDMETHODCALLTYPE SetMode(LONG mode) override;
    HRESULT STDMETHODCALLTYPE GetElementName(HostXmlElement* element, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE GetElementText(HostXmlElement* element, BSTR* text) override;

    XmlElementObject& root() const noexcept { return *root_; }
    // Elements remember their document by this number.
    std::uint64_t id() const noexcept { return id_; }
    XmlElementPtr createElement(std::string name, std::string text) const;
    LONG mode() const noexcept { return mode_; }
    void setMode(LONG mode) noexcept { mode_ = mode; }

    // Named values: a child element holding the text. Writing the default
    // stores nothing (and drops an earlier value); a missing value reads as
    // the default.
    void writeValue(XmlElementObject& element, const std::string& name, const std::string& value,
                    const std::string& defaultValue) const;
    std::string readValue(const XmlElementObject& element, const std::string& name,
                          const std::string& defaultValue) const;

    // Every named value written through the interface, with the default it
    // came with, in order.
    struct ValueWrite {
        std::string name;
        std::string value;
        std::string defaultValue;
    };
    const std::vector<ValueWrite>& valueWrites() const noexcept { return valueWrites_; }

    // An empty document; create, parse and load give it its root.
    XmlDocumentObject();

private:
    XmlElementObject& ownElement(HostXmlElement* element) const;

    std::uint64_t id_;
    XmlElementPtr root_;
    LONG mode_ = reading;
    std::vector<ValueWrite> valueWrites_;
};

// The element object behind an interface pointer of ours, or null.
XmlElementObject* elementObject(HostXmlElement* element) noexcept;

}  // namespace vexa::host
