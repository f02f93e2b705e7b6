#include "host/objects/xml_document.h"

#include <algorithm>
#include <atomic>

#include "host/objects/host_text.h"

namespace vexa::host {

namespace {

XmlElementObject* firstNamed(const std::vector<XmlElementPtr>& list, std::string_view name) noexcept {
    const auto found =
        std::find_if(list.begin(), list.end(), [&](const XmlElementPtr& e) { return e->name() == name; });
    return found == list.end() ? nullptr : found->get();
}

// Takes `element` out of `list`; false when it is not there.
bool eraseFrom(std::vector<XmlElementPtr>& list, const XmlElementObject& element) {
    const auto found =
        std::find_if(list.begin(), list.end(), [&](const XmlElementPtr& e) { return e.get() == &element; });
    if (found == list.end()) return false;
    list.erase(found);
    return true;
}

// A name the file can carry: a letter, '_', ':' or a non-ASCII character
// first, then also digits, '-' and '.'.
bool isXmlName(std::string_view name) noexcept {
    if (name.empty()) return false;
    const auto letter = [](unsigned char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
    };
    if (!letter(static_cast<unsigned char>(name.front()))) return false;
    for (const char c : name.substr(1)) {
        const auto u = static_cast<unsigned char>(c);
        if (!letter(u) && !(u >= '0' && u <= '9') && u != '-' && u != '.') return false;
    }
    return true;
}

std::string xmlName(BSTR name) {
    std::string text = utf8Of(name);
    if (!isXmlName(text)) throwComError(E_INVALIDARG);
    return text;
}

XmlElementObject& elementOf(HostXmlElement* element) {
    if (element == nullptr) throwComError(E_POINTER);
    XmlElementObject* object = elementObject(element);
    if (object == nullptr) throwComError(E_INVALIDARG);
    return *object;
}

}  // namespace

XmlElementObject* elementObject(HostXmlElement* element) noexcept { return dynamic_cast<XmlElementObject*>(element); }

// ---- XmlElementObject ----

XmlElementObject::~XmlElementObject() {
    for (const XmlElementPtr& child : children_) child->parent_ = nullptr;
    for (const XmlElementPtr& attribute : attributes_) attribute->owner_ = nullptr;
}

XmlElementObject* XmlElementObject::findChild(std::string_view name) const noexcept {
    return firstNamed(children_, name);
}

std::vector<XmlElementObject*> XmlElementObject::childrenNamed(std::string_view name) const {
    std::vector<XmlElementObject*> found;
    for (const XmlElementPtr& child : children_)
        if (child->name() == name) found.push_back(child.get());
    return found;
}

XmlElementObject* XmlElementObject::findAttribute(std::string_view name) const noexcept {
    return firstNamed(attributes_, name);
}

std::string XmlElementObject::attributeValue(std::string_view name) const {
    const XmlElementObject* attribute = findAttribute(name);
    return attribute == nullptr ? std::string() : attribute->text();
}

void XmlElementObject::checkAdoptable(const XmlElementObject& element) const {
    if (element.documentId_ != documentId_) throwComError(E_INVALIDARG);
    for (const XmlElementObject* up = this; up != nullptr; up = up->parent_ ? up->parent_ : up->owner_)
        if (up == &element) throwComError(E_INVALIDARG);
}

// Takes the element from wherever it is attached; the caller holds a
// reference, so it survives.
void XmlElementObject::detach() {
    if (parent_ != nullptr) eraseFrom(std::exchange(parent_, nullptr)->children_, *this);
    if (owner_ != nullptr) eraseFrom(std::exchange(owner_, nullptr)->attributes_, *this);
}

void XmlElementObject::appendChild(XmlElementPtr child) {
    checkAdoptable(*child);
    child->detach();
    child->parent_ = this;
    children_.push_back(std::move(child));
}

void XmlElementObject::addAttribute(XmlElementPtr attribute) {
    checkAdoptable(*attribute);
    attribute->detach();
    if (XmlElementObject* same = findAttribute(attribute->name())) removeAttribute(*same);
    attribute->owner_ = this;
    attributes_.push_back(std::move(attribute));
}

void XmlElementObject::removeChild(XmlElementObject& child) {
    XmlElementPtr keep(&child);
    if (!eraseFrom(children_, child)) throwComError(E_INVALIDARG);
    child.parent_ = nullptr;
}

void XmlElementObject::removeAttribute(XmlElementObject& attribute) {
    XmlElementPtr keep(&attribute);
    if (!eraseFrom(attributes_, attribute)) throwComError(E_INVALIDARG);
    attribute.owner_ = nullptr;
}

HRESULT XmlElementObject::SetText(BSTR text) {
    return call(7, [&] { text_ = utf8Of(text); });
}

HRESULT XmlElementObject::AppendChild(HostXmlElement* child) {
    return call(8, [&] { appendChild(XmlElementPtr(&elementOf(child))); });
}

HRESULT XmlElementObject::RemoveChild(HostXmlElement* child) {
    return call(9, [&] { removeChild(elementOf(child)); });
}

HRESULT XmlElementObject::ClearChildren() {
    return call(10, [&] {
        for (const XmlElementPtr& child : children_) child->parent_ = nullptr;
        children_.clear();
    });
}

HRESULT XmlElementObject::FindChild(BSTR name, HostXmlElement** child) {
    return call(11, [&] { return writeOutObject<HostXmlElement>(child, findChild(utf8Of(name))); });
}

HRESULT XmlElementObject::GetChild(LONG index, HostXmlElement** child) {
    return call(12, [&] {
        if (index < 0 || static_cast<std::size_t>(index) >= children_.size()) return E_INVALIDARG;
        return writeOutObject<HostXmlElement>(child, children_[static_cast<std::size_t>(index)].get());
    });
}

HRESULT XmlElementObject::GetChildCount(LONG* count) {
    return call(13, [&] { return writeOut(count, static_cast<LONG>(children_.size())); });
}

HRESULT XmlElementObject::GetParent(HostXmlElement** parent) {
    return call(14, [&] { return writeOutObject<HostXmlElement>(parent, parent_); });
}

HRESULT XmlElementObject::GetRelated(HostXmlElement** related) {
    return call(15, [&] { return writeOutObject<HostXmlElement>(related, owner_); });
}

// An attribute is a name and a text: an element with children or
// attributes of its own would lose them in the file.
HRESULT XmlElementObject::AddAttribute(HostXmlElement* attribute) {
    return call(16, [&] {
        XmlElementObject& added = elementOf(attribute);
        if (!added.children_.empty() || !added.attributes_.empty()) return E_INVALIDARG;
        addAttribute(XmlElementPtr(&added));
        return S_OK;
    });
}

HRESULT XmlElementObject::RemoveAttribute(HostXmlElement* attribute) {
    return call(17, [&] { removeAttribute(elementOf(attribute)); });
}

HRESULT XmlElementObject::FindAttribute(BSTR name, HostXmlElement** attribute) {
    return call(18, [&] { return writeOutObject<HostXmlElement>(attribute, findAttribute(utf8Of(name))); });
}

HRESULT XmlElementObject::GetAttribute(LONG index, HostXmlElement** attribute) {
    return call(19, [&] {
        if (index < 0 || static_cast<std::size_t>(index) >= attributes_.size()) return E_INVALIDARG;
        return writeOutObject<HostXmlElement>(attribute, attributes_[static_cast<std::size_t>(index)].get());
    });
}

HRESULT XmlElementObject::GetAttributeCount(LONG* count) {
    return call(20, [&] { return writeOut(count, static_cast<LONG>(attributes_.size())); });
}

HRESULT XmlElementObject::ClearAttributes() {
    return call(21, [&] {
        for (const XmlElementPtr& attribute : attributes_) attribute->owner_ = nullptr;
        attributes_.clear();
    });
}

HRESULT XmlElementObject::GetName(BSTR* name) {
    return call(22, [&] { return answerText(name, name_); });
}

HRESULT XmlElementObject::GetText(BSTR* text) {
    return call(23, [&] { return answerText(text, text_); });
}

// ---- XmlDocumentObject ----

XmlDocumentObject::XmlDocumentObject() {
    // Elements remember their document by this number.
    static std::atomic<std::uint64_t> counter{0};
    id_ = ++counter;
}

ComPtr<XmlDocumentObject> XmlDocumentObject::create(const std::string& rootName) {
    auto document = makeHostObject<XmlDocumentObject>();
    document->root_ = document->createElement(rootName, {});
    return document;
}

XmlElementPtr XmlDocumentObject::createElement(std::string name, std::string text) const {
    return makeHostObject<XmlElementObject>(id_, std::move(name), std::move(text));
}

XmlElementObject& XmlDocumentObject::ownElement(HostXmlElement* element) const {
    XmlElementObject& object = elementOf(element);
    if (object.documentId() != id_) throwComError(E_INVALIDARG);
    return object;
}

void XmlDocumentObject::writeValue(XmlElementObject& element, const std::string& name, const std::string& value,
                                   const std::string& defaultValue) const {
    XmlElementObject* stored = element.findChild(name);
    if (value == defaultValue) {
        if (stored != nullptr) element.removeChild(*stored);
        return;
    }
    if (stored == nullptr) {
        XmlElementPtr created = createElement(name, value);
        element.appendChild(created);
        return;
    }
    stored->setText(value);
}

std::string XmlDocumentObject::readValue(const XmlElementObject& element, const std::string& name,
                                         const std::string& defaultValue) const {
    const XmlElementObject* stored = element.findChild(name);
    return stored == nullptr ? defaultValue : stored->text();
}

HRESULT XmlDocumentObject::GetRootElement(HostXmlElement** root) {
    return call(7, [&] { return writeOutObject<HostXmlElement>(root, root_.get()); });
}

HRESULT XmlDocumentObject::CreateElement(BSTR name, BSTR text, HostXmlElement** element) {
    return call(9, [&] {
        if (element == nullptr) return E_POINTER;
        *element = createElement(xmlName(name), utf8Of(text)).release();
        return S_OK;
    });
}

HRESULT XmlDocumentObject::WriteValue(HostXmlElement* element, BSTR name, BSTR value, BSTR defaultValue) {
    return call(16, [&] {
        XmlElementObject& target = ownElement(element);
        ValueWrite write{xmlName(name), utf8Of(value), utf8Of(defaultValue)};
        writeValue(target, write.name, write.value, write.defaultValue);
        valueWrites_.push_back(std::move(write));
    });
}

HRESULT XmlDocumentObject::ReadValue(HostXmlElement* element, BSTR name, BSTR* value, BSTR defaultValue) {
    return call(17, [&] {
        const XmlElementObject& source = ownElement(element);
        return answerText(value, readValue(source, xmlName(name), utf8Of(defaultValue)));
    });
}

HRESULT XmlDocumentObject::GetMode(LONG* mode) {
    return call(19, [&] { return writeOut(mode, mode_); });
}

// A document is being written or read; there is no third mode.
HRESULT XmlDocumentObject::SetMode(LONG mode) {
    return call(20, [&] {
        if (mode != reading && mode != writing) return E_INVALIDARG;
        mode_ = mode;
        return S_OK;
    });
}

// The element must be one of this document's: the name and text of another
// document's element are that document's to give.
HRESULT XmlDocumentObject::GetElementName(HostXmlElement* element, BSTR* name) {
    return call(26, [&] { return answerText(name, ownElement(element).name()); });
}

HRESULT XmlDocumentObject::GetElementText(HostXmlElement* element, BSTR* text) {
    return call(27, [&] { return answerText(text, ownElement(element).text()); });
}

}  // namespace vexa::host
