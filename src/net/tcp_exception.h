// The one exception type of the TCP layer and its error codes.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace Nerova::NvLib::Protocols::Ethernet {

// Value 5 is deliberately unused: callers and stored logs know these numbers.
enum class TcpError : std::int32_t {
    RemoteClosed = 0,
    LocalClosed = 1,
    ConnectAborted = 2,
    ConnectTimeout = 3,
    InvalidEndpoint = 4,
    Unknown = 6,
};

class TcpException : public std::runtime_error {
public:
    // The standard message of the code ("Connect aborted", "Unknown error", ...).
    explicit TcpException(TcpError code);
    TcpException(TcpError code, const std::string& message);

    TcpError code() const noexcept { return code_; }

private:
    TcpError code_;
};

const char* standardMessage(TcpError code) noexcept;

}  // namespace Nerova::NvLib::Protocols::Ethernet
