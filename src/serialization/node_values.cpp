#include "serialization/node_values.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <system_error>

namespace Nerova::Utils::Serialization {

namespace {

const char* boolText(bool value) { return value ? "True" : "False"; }

// The whole text must be the number: "12a" is not twelve.
template <class T>
T parseWhole(std::string_view text) {
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) throw XmlException(XmlExceptionCode::OutOfRange);
    if (error != std::errc{} || end != text.data() + text.size())
        throw XmlException(XmlExceptionCode::WrongType);
    return value;
}

std::int32_t parseListItem(std::string_view text) {
    const std::int64_t value = parseWhole<std::int64_t>(text);
    if (value < INT32_MIN || value > INT32_MAX) throw XmlException(XmlExceptionCode::OutOfRange);
    return static_cast<std::int32_t>(value);
}

// Smallest difference between 1.0 and the next double: anything closer to
// zero counts as zero.
constexpr double falseBelow = 2.220446049250313e-16;

}  // namespace

std::uint64_t parseUnsigned(std::string_view text) {
    // A negative number is a number, just not one an unsigned value holds.
    if (!text.empty() && text.front() == '-') {
        parseWhole<std::int64_t>(text);
        throw XmlException(XmlExceptionCode::OutOfRange);
    }
    return parseWhole<std::uint64_t>(text);
}

void writeText(Node& node, const std::string& name, const std::string& text) {
    node.writeValue(name, text, text + node.defaultSuffix());
}

std::string readText(const Node& node, const std::string& name) { return node.readValue(name, {}); }

std::string decimalText(std::int64_t value) {
    char buffer[24];
    const auto result = std::to_chars(std::begin(buffer), std::end(buffer), value);
    return {buffer, result.ptr};
}

std::string decimalText(std::uint64_t value) {
    char buffer[24];
    const auto result = std::to_chars(std::begin(buffer), std::end(buffer), value);
    return {buffer, result.ptr};
}

void writeSigned(Node& node, const std::string& name, std::int64_t value) {
    const std::string text = decimalText(value);
    node.writeValue(name, text, text + node.defaultSuffix());
}

void writeUnsigned(Node& node, const std::string& name, std::uint64_t value) {
    const std::string text = decimalText(value);
    node.writeValue(name, text, text + node.defaultSuffix());
}

std::int64_t readSigned(const Node& node, const std::string& name, std::int64_t defaultValue) {
    return parseWhole<std::int64_t>(node.readValue(name, decimalText(defaultValue)));
}

std::uint64_t readUnsigned(const Node& node, const std::string& name, std::uint64_t defaultValue) {
    return parseUnsigned(node.readValue(name, decimalText(defaultValue)));
}

void writeBool(Node& node, const std::string& name, bool value, bool defaultValue) {
    node.writeValue(name, boolText(value), boolText(defaultValue));
}

bool readBool(const Node& node, const std::string& name, bool defaultValue) {
    return parseBool(node.readValue(name, boolText(defaultValue)));
}

bool parseBool(const std::string& text) {
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "true") return true;
    if (lower == "false") return false;
    return std::fabs(parseWhole<double>(lower)) > falseBelow;
}

std::string listToText(const std::vector<std::int32_t>& values) {
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i == 1) text += ':';
        else if (i > 1) text += ';';
        text += decimalText(std::int64_t{values[i]});
    }
    return text;
}

std::vector<std::int32_t> textToList(const std::string& text) {
    std::vector<std::int32_t> values;
    if (text.empty()) return values;
    const std::string_view all = text;
    const std::size_t colon = all.find(':');
    values.push_back(parseListItem(all.substr(0, colon)));
    if (colon == std::string_view::npos) return values;
    std::string_view rest = all.substr(colon + 1);
    while (true) {
        const std::size_t semicolon = rest.find(';');
        values.push_back(parseListItem(rest.substr(0, semicolon)));
        if (semicolon == std::string_view::npos) break;
        rest.remove_prefix(semicolon + 1);
    }
    return values;
}

}  // namespace Nerova::Utils::Serialization
