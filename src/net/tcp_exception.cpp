#include "net/tcp_exception.h"

namespace Nerova::NvLib::Protocols::Ethernet {

const char* standardMessage(TcpError code) noexcept {
    switch (code) {
    case TcpError::RemoteClosed: return "Connection terminated by remote socket";
    case TcpError::LocalClosed: return "Connection terminated by local socket";
    case TcpError::ConnectAborted: return "Connect aborted";
    case TcpError::ConnectTimeout: return "Connect timeout occurred";
    case TcpError::InvalidEndpoint: return "Invalid TCP endpoint";
    case TcpError::Unknown: break;
    }
    return "Unknown error";
}

TcpException::TcpException(TcpError code) : TcpException(code, standardMessage(code)) {}

TcpException::TcpException(TcpError code, const std::string& message)
    : std::runtime_error(message), code_(code) {}

}  // namespace Nerova::NvLib::Protocols::Ethernet
