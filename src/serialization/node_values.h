// Typed named values on a node. Texts and numbers are written with a
// default that can never equal them (the value followed by the node's
// default suffix), so the document always stores them; flags are written
// against a real default and are left out when they equal it. Reads give
// the default for a missing value.
#pragma once

#include <concepts>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "serialization/node.h"
#include "serialization/xml_exception.h"

namespace Nerova::Utils::Serialization {

void writeText(Node& node, const std::string& name, const std::string& text);
std::string readText(const Node& node, const std::string& name);

// Plain decimal digits, a leading minus for negative values, no grouping.
std::string decimalText(std::int64_t value);
std::string decimalText(std::uint64_t value);

void writeSigned(Node& node, const std::string& name, std::int64_t value);
void writeUnsigned(Node& node, const std::string& name, std::uint64_t value);
// A stored text that is not a whole decimal number throws WrongType; one
// outside the 64-bit range throws OutOfRange.
std::int64_t readSigned(const Node& node, const std::string& name, std::int64_t defaultValue);
std::uint64_t readUnsigned(const Node& node, const std::string& name, std::uint64_t defaultValue);
// The same conversion of a text on its own.
std::uint64_t parseUnsigned(std::string_view text);

template <class T>
concept NodeInteger = std::integral<T> && !std::same_as<T, bool>;

template <NodeInteger T>
void writeNumber(Node& node, const std::string& name, T value) {
    if constexpr (std::is_signed_v<T>) writeSigned(node, name, value);
    else writeUnsigned(node, name, value);
}

// As readSigned/readUnsigned, with OutOfRange also for numbers that do not
// fit `T`.
template <NodeInteger T>
T readNumber(const Node& node, const std::string& name, T defaultValue) {
    using Limits = std::numeric_limits<T>;
    if constexpr (std::is_signed_v<T>) {
        const std::int64_t value = readSigned(node, name, defaultValue);
        if (value < Limits::min() || value > Limits::max()) throw XmlException(XmlExceptionCode::OutOfRange);
        return static_cast<T>(value);
    } else {
        const std::uint64_t value = readUnsigned(node, name, defaultValue);
        if (value > Limits::max()) throw XmlException(XmlExceptionCode::OutOfRange);
        return static_cast<T>(value);
    }
}

// "True" or "False".
void writeBool(Node& node, const std::string& name, bool value, bool defaultValue);
// "true" and "false" in any case; any other text is read as a number that
// is true when it is not zero.
bool readBool(const Node& node, const std::string& name, bool defaultValue);
bool parseBool(const std::string& text);

// A host index path as text: "a", "a:b", "a:b;c;d"; an empty path is an
// empty text.
std::string listToText(const std::vector<std::int32_t>& values);
// The reverse. A text without ":" is read as one number; a part that is
// not a number throws WrongType, one outside 32 bits OutOfRange.
std::vector<std::int32_t> textToList(const std::string& text);

}  // namespace Nerova::Utils::Serialization
