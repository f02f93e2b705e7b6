// Who may talk to the live page's server. A local web server is an open
// door: any page the user's browser shows can send it requests, and a
// rebound DNS name can make the browser treat it as that page's own
// origin. So every request must name this server in its Host header
// (127.0.0.1:PORT or localhost:PORT), a request that carries an Origin
// must come from this server's own pages, and a WebSocket upgrade or any
// request that could change something (every method but GET and HEAD) must
// carry that Origin.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vexa::live {

struct RequestFacts {
    std::string_view method;  // "GET", "POST", ...
    std::string_view host;    // the Host header; empty when absent
    std::optional<std::string_view> origin;
    bool upgrade = false;  // asks for a WebSocket
};

enum class Refusal { None, ForeignHost, ForeignOrigin, MissingOrigin };

// Whether a request to the server on `port` may be answered.
Refusal checkRequest(const RequestFacts& request, std::uint16_t port);
// What the refused request is told.
const char* refusalText(Refusal refusal) noexcept;

}  // namespace vexa::live
