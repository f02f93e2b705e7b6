#include "platform/text.h"

namespace vexa {

#ifdef _WIN32

namespace {

WideString toWide(UINT codePage, std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    WideString result(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, result.data(), length);
    return result;
}

std::string fromWide(UINT codePage, WideView text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, result.data(), length, nullptr, nullptr);
    return result;
}

}  // namespace

WideString utf8ToWide(std::string_view text) { return toWide(CP_UTF8, text); }
std::string wideToUtf8(WideView text) { return fromWide(CP_UTF8, text); }
WideString narrowToWide(std::string_view text) { return toWide(CP_ACP, text); }
std::string wideToNarrow(WideView text) { return fromWide(CP_ACP, text); }
std::string systemMessageToUtf8(std::string_view text) { return wideToUtf8(narrowToWide(text)); }

#else

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at `pos`; malformed input yields U+FFFD and
// consumes the longest valid prefix (at least one byte).
char32_t decodeUtf8(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) return lead;
    int extra;
    char32_t code;
    char32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) { extra = 1; code = lead & 0x1F; minimum = 0x80; }
    else if (lead >= 0xE0 && lead <= 0xEF) { extra = 2; code = lead & 0x0F; minimum = 0x800; }
    else if (lead >= 0xF0 && lead <= 0xF4) { extra = 3; code = lead & 0x07; minimum = 0x10000; }
    else return kReplacement;
    for (int i = 0; i < extra; ++i) {
        if (pos >= text.size()) return kReplacement;
        const auto next = static_cast<unsigned char>(text[pos]);
        if ((next & 0xC0) != 0x80) return kReplacement;
        code = (code << 6) | (next & 0x3F);
        ++pos;
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return kReplacement;
    return code;
}

void appendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

WideString utf8ToWide(std::string_view text) {
    WideString result;
    result.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char32_t code = decodeUtf8(text, pos);
        if (code >= 0x10000) {
            result += static_cast<OLECHAR>(0xD800 + ((code - 0x10000) >> 10));
            result += static_cast<OLECHAR>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            result += static_cast<OLECHAR>(code);
        }
    }
    return result;
}

std::string wideToUtf8(WideView text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = kReplacement;  // a lone surrogate
        }
        appendUtf8(result, code);
    }
    return result;
}

WideString narrowToWide(std::string_view text) { return utf8ToWide(text); }
std::string wideToNarrow(WideView text) { return wideToUtf8(text); }
// Kept byte for byte: a message that is not valid UTF-8 is no better for
// having its bytes replaced.
std::string systemMessageToUtf8(std::string_view text) { return std::string(text); }

#endif

}  // namespace vexa
