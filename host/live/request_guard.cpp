#include "host/live/request_guard.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace vexa::live {

namespace {

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// "127.0.0.1:PORT" or "localhost:PORT" after `prefix`; the port exactly
// as the server's (no default port: the server never listens on 80).
bool namesThisServer(std::string_view text, std::string_view prefix, std::uint16_t port) {
    if (text.size() < prefix.size() || !sameIgnoringCase(text.substr(0, prefix.size()), prefix)) return false;
    text.remove_prefix(prefix.size());
    const auto colon = text.rfind(':');
    if (colon == std::string_view::npos) return false;
    const std::string_view name = text.substr(0, colon);
    if (!sameIgnoringCase(name, "127.0.0.1") && !sameIgnoringCase(name, "localhost")) return false;
    const std::string_view digits = text.substr(colon + 1);
    unsigned long given = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), given);
    return error == std::errc() && end == digits.data() + digits.size() && digits.size() <= 5 &&
           digits.front() != '0' && given == port;
}

}  // namespace

Refusal checkRequest(const RequestFacts& request, std::uint16_t port) {
    if (!namesThisServer(request.host, "", port)) return Refusal::ForeignHost;
    if (request.origin && !namesThisServer(*request.origin, "http://", port)) return Refusal::ForeignOrigin;
    const bool readOnly = request.method == "GET" || request.method == "HEAD";
    if (!request.origin && (request.upgrade || !readOnly)) return Refusal::MissingOrigin;
    return Refusal::None;
}

const char* refusalText(Refusal refusal) noexcept {
    switch (refusal) {
    case Refusal::None: return "";
    case Refusal::ForeignHost: return "this server answers only requests for 127.0.0.1 or localhost at its port";
    case Refusal::ForeignOrigin: return "this server answers only its own pages";
    case Refusal::MissingOrigin: return "this request needs the Origin of the server's own page";
    }
    return "refused";
}

}  // namespace vexa::live
