// Documents to and from XML text. RapidXML parses; the writer is our own so
// that texts come back exactly as they went out (RapidXML drops a text's
// leading white space before a tag, so such characters are written as
// character references).
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include <rapidxml/rapidxml.hpp>

#include "host/objects/xml_document.h"

namespace vexa::host {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

void appendReference(std::string& out, char c) {
    out += "&#";
    out += std::to_string(static_cast<unsigned char>(c));
    out += ';';
}

std::string escapeText(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '\r' || (i == 0 && isSpace(c))) appendReference(out, c);
        else out += c;
    }
    return out;
}

std::string escapeAttribute(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '"') out += "&quot;";
        else if (isSpace(c) && c != ' ') appendReference(out, c);
        else out += c;
    }
    return out;
}

// `indent` < 0 writes the element and everything in it on one line: inside
// an element with both text and children, line breaks would become text.
void writeElement(std::string& out, const XmlElementObject& element, int indent) {
    const bool compact = indent < 0;
    if (!compact) out.append(static_cast<std::size_t>(indent), ' ');
    out += '<';
    out += element.name();
    for (const XmlElementPtr& attribute : element.attributes()) {
        out += ' ';
        out += attribute->name();
        out += "=\"";
        out += escapeAttribute(attribute->text());
        out += '"';
    }
    if (element.children().empty() && element.text().empty()) {
        out += compact ? "/>" : "/>\n";
        return;
    }
    out += '>';
    out += escapeText(element.text());
    if (!element.children().empty()) {
        const bool inner = compact || !element.text().empty();
        if (!inner) out += '\n';
        for (const XmlElementPtr& child : element.children()) writeElement(out, *child, inner ? -1 : indent + 2);
        if (!inner) out.append(static_cast<std::size_t>(indent), ' ');
    }
    out += "</";
    out += element.name();
    out += compact ? ">" : ">\n";
}

using RapidNode = rapidxml::xml_node<char>;

std::string textOf(const RapidNode& node) {
    std::string text;
    for (const RapidNode* part = node.first_node(); part != nullptr; part = part->next_sibling()) {
        if (part->type() == rapidxml::node_data || part->type() == rapidxml::node_cdata)
            text.append(part->value(), part->value_size());
    }
    return text;
}

XmlElementPtr build(const XmlDocumentObject& document, const RapidNode& node) {
    XmlElementPtr element =
        document.createElement(std::string(node.name(), node.name_size()), textOf(node));
    for (auto* attribute = node.first_attribute(); attribute != nullptr; attribute = attribute->next_attribute()) {
        element->addAttribute(document.createElement(std::string(attribute->name(), attribute->name_size()),
                                                     std::string(attribute->value(), attribute->value_size())));
    }
    for (const RapidNode* child = node.first_node(); child != nullptr; child = child->next_sibling())
        if (child->type() == rapidxml::node_element) element->appendChild(build(document, *child));
    return element;
}

}  // namespace

std::string XmlDocumentObject::toText() const {
    std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
    writeElement(out, *root_, 0);
    return out;
}

void XmlDocumentObject::save(const std::filesystem::path& path) const {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) throw XmlFileError("cannot open " + path.string() + " for writing");
    const std::string text = toText();
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!file.flush()) throw XmlFileError("cannot write " + path.string());
}

ComPtr<XmlDocumentObject> XmlDocumentObject::parse(std::string_view text) {
    // RapidXML parses in place and needs the terminating zero.
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    rapidxml::xml_document<char> parsed;
    try {
        parsed.parse<rapidxml::parse_validate_closing_tags>(buffer.data());
    } catch (const rapidxml::parse_error& error) {
        throw XmlFileError(std::string("not an XML document: ") + error.what());
    }
    const RapidNode* root = parsed.first_node();
    while (root != nullptr && root->type() != rapidxml::node_element) root = root->next_sibling();
    if (root == nullptr) throw XmlFileError("the XML document has no element");

    auto document = makeHostObject<XmlDocumentObject>();
    document->root_ = build(*document, *root);
    return document;
}

ComPtr<XmlDocumentObject> XmlDocumentObject::load(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw XmlFileError("cannot open " + path.string());
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad()) throw XmlFileError("cannot read " + path.string());
    return parse(content.str());
}

}  // namespace vexa::host
