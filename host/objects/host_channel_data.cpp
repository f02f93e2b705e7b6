// The channel's buffers and the settings it keeps in setup documents.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "host/objects/host_channel.h"

namespace vexa::host {

namespace {

template <class T>
T readAs(const std::byte* data) noexcept {
    T value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

// The host's text of an index path: "a:b;c;d".
std::string indexPathText(const std::vector<std::int32_t>& path) {
    std::string text;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (i > 0) text += i == 1 ? ':' : ';';
        text += std::to_string(path[i]);
    }
    return text;
}

const char* flagText(bool value) { return value ? "True" : "False"; }

// Stored numbers that do not parse leave the setting as it was.
template <class T>
void readNumber(const std::string& text, T& field) {
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc{} && end == text.data() + text.size() && !text.empty()) field = value;
}

void readFlag(const std::string& text, HostFlag& field) {
    if (text == "True") field = true;
    else if (text == "False") field = false;
}

constexpr const char* settingsElement = "OutputChannel";

}  // namespace

std::size_t dataTypeSize(LONG dataType) noexcept {
    switch (dataType) {
    case 0: case 1: return 1;
    case 2: case 3: return 2;
    case 4: case 5: case 8: return 4;
    case 6: case 7: case 9: return 8;
    case 10: return 16;
    default: return 0;
    }
}

double sampleToDouble(LONG dataType, const std::byte* data, std::size_t size) noexcept {
    if (dataTypeSize(dataType) == 0 || size < dataTypeSize(dataType)) return 0.0;
    switch (dataType) {
    case 0: return readAs<std::uint8_t>(data);
    case 1: return readAs<std::int8_t>(data);
    case 2: return readAs<std::int16_t>(data);
    case 3: return readAs<std::uint16_t>(data);
    case 4: return readAs<std::int32_t>(data);
    case 5: return readAs<float>(data);
    case 6: return static_cast<double>(readAs<std::int64_t>(data));
    case 7: return readAs<double>(data);
    case 8: return readAs<std::uint32_t>(data);
    case 9: return std::hypot(readAs<float>(data), readAs<float>(data + 4));
    case 10: return std::hypot(readAs<double>(data), readAs<double>(data + 8));
    default: return 0.0;
    }
}

std::size_t ChannelObject::sampleStride() const noexcept {
    return dataTypeSize(settings_.dataType) * static_cast<std::size_t>(arraySize_);
}

// New buffers start empty at position 0: what the old ones held was laid
// out for another type.
void ChannelObject::makeBuffers() {
    ring_.remake(ring_.length(), sampleStride());
}

void ChannelObject::setBufferLength(LONG samples) {
    ring_.resize(samples);
}

void ChannelObject::setArraySize(LONG values) {
    arraySize_ = std::max<LONG>(values, 1);
    makeBuffers();
}

const std::byte* ChannelObject::sampleAt(LONG position) const {
    if (position < 0 || position >= ring_.length()) throwComError(E_INVALIDARG);
    return ring_.sampleAt(position);
}

double ChannelObject::timeAt(LONG position) const {
    if (position < 0 || position >= ring_.length()) throwComError(E_INVALIDARG);
    return ring_.timeAt(position);
}

double ChannelObject::valueAt(LONG position) const {
    return sampleToDouble(settings_.dataType, sampleAt(position), sampleStride());
}

void ChannelObject::saveSettings(XmlDocumentObject& document, XmlElementObject& element) const {
    XmlElementObject* target = element.findChild(settingsElement);
    if (target == nullptr) {
        XmlElementPtr created = document.createElement(settingsElement, {});
        target = created.get();
        element.appendChild(std::move(created));
    }
    // An empty default: everything but empty texts is stored.
    const auto write = [&](const char* name, const std::string& value) {
        document.writeValue(*target, name, value, {});
    };
    write("Index", indexPathText(settings_.indexPath));
    write("Name", settings_.name);
    write("Unit", settings_.unit);
    write("Color", std::to_string(settings_.color));
    write("Used", flagText(settings_.used));
    write("Stored", flagText(settings_.stored));
    write("DataType", std::to_string(settings_.dataType));
    write("Asynchronous", flagText(settings_.asynchronous));
    write("SingleValue", flagText(settings_.singleValue));
}

// The index path is where the channel stands in this host; it is not read
// back.
void ChannelObject::loadSettings(const XmlDocumentObject& document, const XmlElementObject& element) {
    const XmlElementObject* source = element.findChild(settingsElement);
    if (source == nullptr) return;
    const auto read = [&](const char* name) { return document.readValue(*source, name, {}); };
    settings_.name = read("Name");
    settings_.unit = read("Unit");
    readNumber(read("Color"), settings_.color);
    readFlag(read("Used"), settings_.used);
    readFlag(read("Stored"), settings_.stored);
    readFlag(read("Asynchronous"), settings_.asynchronous);
    readFlag(read("SingleValue"), settings_.singleValue);
    LONG dataType = settings_.dataType;
    readNumber(read("DataType"), dataType);
    if (dataType != settings_.dataType && dataTypeSize(dataType) != 0) {
        settings_.dataType = dataType;
        makeBuffers();
    }
}

}  // namespace vexa::host
