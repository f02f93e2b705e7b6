#include "host/live/request_guard.h"

#include <algorithm>
#include <cctype>
#include <string>

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
    if (!sameIgnoringCase(text.substr(0, std::min(text.size(), prefix.size())), prefix)) return false;
    text.remove_prefix(prefix.size());
    const std::string suffix = ":" + std::to_string(port);
    for (const std::string_view name : {std::string_view("127.0.0.1"), std::string_view("localhost")}) {
        if (text.size() == name.size() + suffix.size() && sameIgnoringCase(text.substr(0, name.size()), name) &&
            text.substr(name.size()) == suffix)
            return true;
    }
    return false;
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
