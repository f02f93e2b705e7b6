#include "net/tcp_client.h"

#include <exception>
#include <system_error>

#include "net/boost_tcp_client.h"
#include "net/tcp_exception.h"
#include "platform/text.h"

namespace Nerova::NvLib::Protocols::Ethernet {
namespace {

// Callers catch one exception type: whatever else comes out of the
// implementation is re-raised as a TcpException with code Unknown. The text
// of a system error is the system's, in UTF-8 like every text of ours.
template <class Operation>
auto translated(Operation&& operation) -> decltype(operation()) {
    try {
        return operation();
    } catch (const TcpException&) {
        throw;
    } catch (const std::system_error& error) {
        throw TcpException(TcpError::Unknown, vexa::systemMessageToUtf8(error.what()));
    } catch (const std::exception& error) {
        throw TcpException(TcpError::Unknown, error.what());
    } catch (...) {
        throw TcpException(TcpError::Unknown);
    }
}

}  // namespace

TcpClient::TcpClient(const NetworkEndpoint& endpoint, std::chrono::milliseconds replyTimeout)
    : impl_(std::make_unique<BoostTcpClient>(endpoint, replyTimeout)) {}

TcpClient::~TcpClient() = default;

void TcpClient::setEndpoint(const NetworkEndpoint& endpoint) {
    translated([&] { impl_->setEndpoint(endpoint); });
}

NetworkEndpoint TcpClient::getEndpoint() const {
    return translated([&] { return impl_->getEndpoint(); });
}

bool TcpClient::isEndpointValid() const {
    return translated([&] { return impl_->isEndpointValid(); });
}

std::unique_ptr<ITcpSocket> TcpClient::connect(std::uint64_t timeoutMs) {
    return translated([&] { return impl_->connect(timeoutMs); });
}

bool TcpClient::isConnecting() const {
    return translated([&] { return impl_->isConnecting(); });
}

bool TcpClient::abortConnect() {
    return translated([&] { return impl_->abortConnect(); });
}

}  // namespace Nerova::NvLib::Protocols::Ethernet
