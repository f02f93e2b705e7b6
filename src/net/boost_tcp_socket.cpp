#include "net/boost_tcp_socket.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <new>
#include <optional>
#include <mutex>
#include <string>
#include <utility>

#include <boost/asio/error.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/write.hpp>
#include <boost/system/error_code.hpp>

#include "net/tcp_exception.h"
#include "platform/text.h"

namespace Nerova::NvLib::Protocols::Ethernet {
namespace asio = boost::asio;
using boost::system::error_code;
using asio::ip::tcp;
using Clock = std::chrono::steady_clock;

namespace {

// A failure with the system's text of `error`, in UTF-8 like every text of
// ours (Winsock's texts come in the ANSI code page).
TcpException systemFailure(const error_code& error) {
    return TcpException(TcpError::Unknown,
                        "Unknown error: " + vexa::systemMessageToUtf8(error.message()));
}

// Largest piece handed to one send call.
constexpr std::size_t kMaxSendPiece = 0x10000;
// How often a running connect looks for an abort from another thread.
constexpr std::chrono::milliseconds kAbortPollInterval{20};
// Longer connect time-outs are treated as this; the clock could overflow.
constexpr std::uint64_t kLongestTimeoutMs = 100ull * 365 * 24 * 3600 * 1000;

std::mutex libraryMutex;
int libraryUsers = 0;

// Holds the system's sockets library for as long as a socket object lives.
class SocketLibraryUse {
public:
    SocketLibraryUse() {
        std::lock_guard lock(libraryMutex);
#ifdef _WIN32
        if (libraryUsers == 0) {
            WSADATA data{};
            if (const int result = WSAStartup(MAKEWORD(2, 0), &data); result != 0) {
                throw systemFailure(error_code(result, boost::system::system_category()));
            }
        }
#endif
        ++libraryUsers;
    }
    ~SocketLibraryUse() {
        std::lock_guard lock(libraryMutex);
#ifdef _WIN32
        if (libraryUsers == 1) WSACleanup();
#endif
        --libraryUsers;
    }
    SocketLibraryUse(const SocketLibraryUse&) = delete;
    SocketLibraryUse& operator=(const SocketLibraryUse&) = delete;
};

// The codes by which the system says the connection is gone. Windows names
// them WSAEINTR, WSAEBADF, WSAECONNABORTED, WSAECONNRESET and WSAESHUTDOWN;
// elsewhere the errno twins stand in, plus EPIPE, which a send to a peer
// that has gone reports there. An orderly close shows as end of file.
bool meansConnectionGone(const error_code& error) {
    if (error == asio::error::eof) return true;
    if (error.category() != boost::system::system_category()) return false;
    switch (error.value()) {
#ifdef _WIN32
    case 10004:
    case 10009:
    case 10053:
    case 10054:
    case 10058:
#else
    case EINTR:
    case EBADF:
    case ECONNABORTED:
    case ECONNRESET:
    case ESHUTDOWN:
    case EPIPE:
#endif
        return true;
    default:
        return false;
    }
}

bool wouldBlock(const error_code& error) {
    return error == asio::error::would_block || error == asio::error::try_again;
}

TcpException transferFailure(const error_code& error, bool handleOpen) {
    if (meansConnectionGone(error)) {
        return TcpException(handleOpen ? TcpError::RemoteClosed : TcpError::LocalClosed);
    }
    return systemFailure(error);
}

NetworkEndpoint toNetworkEndpoint(const tcp::endpoint& endpoint) {
    return NetworkEndpoint(endpoint.address().to_string(), std::to_string(endpoint.port()));
}

// Memory for the operation a socket has in flight. Writes and receives run
// one at a time to completion on the caller's thread, so one slot serves
// them all and a data step allocates nothing; the heap takes anything that
// does not fit.
class OperationMemory {
public:
    OperationMemory() = default;
    OperationMemory(const OperationMemory&) = delete;
    OperationMemory& operator=(const OperationMemory&) = delete;

    void* allocate(std::size_t size) {
        if (inUse_ || size > sizeof slot_) return ::operator new(size);
        inUse_ = true;
        return slot_;
    }
    void deallocate(void* memory) noexcept {
        if (memory == slot_) inUse_ = false;
        else ::operator delete(memory);
    }

private:
    alignas(std::max_align_t) unsigned char slot_[512];
    bool inUse_ = false;
};

template <class T>
class OperationAllocator {
public:
    using value_type = T;
    explicit OperationAllocator(OperationMemory& memory) noexcept : memory_(&memory) {}
    template <class U>
    OperationAllocator(const OperationAllocator<U>& other) noexcept : memory_(other.memory()) {}

    T* allocate(std::size_t n) { return static_cast<T*>(memory_->allocate(sizeof(T) * n)); }
    void deallocate(T* p, std::size_t) noexcept { memory_->deallocate(p); }
    OperationMemory* memory() const noexcept { return memory_; }
    friend bool operator==(const OperationAllocator& a, const OperationAllocator& b) noexcept {
        return a.memory_ == b.memory_;
    }

private:
    OperationMemory* memory_;
};

// A completion handler whose operation Asio makes in `memory`.
template <class Handler>
class InMemory {
public:
    using allocator_type = OperationAllocator<Handler>;
    InMemory(OperationMemory& memory, Handler handler) : memory_(memory), handler_(std::move(handler)) {}
    allocator_type get_allocator() const noexcept { return allocator_type(memory_); }
    template <class... Args>
    void operator()(Args&&... args) {
        handler_(std::forward<Args>(args)...);
    }

private:
    OperationMemory& memory_;
    Handler handler_;
};

}  // namespace

struct BoostTcpSocket::Impl {
    SocketLibraryUse library;  // first in, last out
    OperationMemory operationMemory;  // outlives the context and its operations
    asio::io_context context;
    tcp::socket socket{context};
    std::chrono::milliseconds replyTimeout;

    explicit Impl(std::chrono::milliseconds timeout) : replyTimeout(timeout) {}

    // Runs the context until the operation started before has finished, or
    // until `deadline`. When the deadline comes first the socket is closed,
    // which ends the operation; the cancelled handler still runs here so
    // nothing refers to the caller's stack afterwards.
    bool runUntil(Clock::time_point deadline, const bool& finished) {
        context.restart();
        while (!finished && context.run_one_until(deadline) > 0) {
        }
        if (finished) return true;
        error_code ignored;
        socket.close(ignored);
        context.restart();
        context.run();
        return false;
    }

    [[noreturn]] void timedOut(const char* what) const {
        throw TcpException(TcpError::Unknown, "Unknown error: the " + std::string(what) +
                                                  " timed out after " +
                                                  std::to_string(replyTimeout.count()) + " ms");
    }
};

BoostTcpSocket::BoostTcpSocket(std::chrono::milliseconds replyTimeout)
    : impl_(std::make_unique<Impl>(replyTimeout)) {}

BoostTcpSocket::~BoostTcpSocket() {
    try {
        close();
    } catch (...) {
        // The handle is released with the socket object whatever close said.
    }
}

NetworkEndpoint BoostTcpSocket::localEndpoint() const {
    error_code error;
    const auto endpoint = impl_->socket.local_endpoint(error);
    if (error) throw systemFailure(error);
    return toNetworkEndpoint(endpoint);
}

NetworkEndpoint BoostTcpSocket::remoteEndpoint() const {
    error_code error;
    const auto endpoint = impl_->socket.remote_endpoint(error);
    if (error) throw systemFailure(error);
    return toNetworkEndpoint(endpoint);
}

bool BoostTcpSocket::isOpen() const {
    return impl_->socket.is_open();
}

void BoostTcpSocket::close() {
    auto& socket = impl_->socket;
    if (!socket.is_open()) return;
    error_code shutdownError;
    error_code closeError;
    error_code ignored;
    socket.shutdown(tcp::socket::shutdown_both, shutdownError);
    // A peer that reset the connection leaves nothing to shut down.
    if (shutdownError == asio::error::not_connected) shutdownError.clear();
    socket.cancel(ignored);
    socket.close(closeError);
    if (const error_code& failure = shutdownError ? shutdownError : closeError; failure) {
        throw systemFailure(failure);
    }
}

// Bytes already waiting, or room already free in the send buffer, are taken
// at once on the non-blocking socket: nearly every command and most receives
// of a block need no wait, and then neither the reactor nor the clock is
// asked. Only a transfer that would block waits, bounded by the time-out.
void BoostTcpSocket::write(const void* data, std::size_t count) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::optional<Clock::time_point> deadline;
    std::size_t sent = 0;
    while (sent < count) {
        const auto piece = asio::buffer(bytes + sent, std::min(count - sent, kMaxSendPiece));
        error_code error;
        std::size_t written = impl_->socket.write_some(piece, error);
        if (wouldBlock(error)) {
            if (!deadline) deadline = Clock::now() + impl_->replyTimeout;
            bool finished = false;
            impl_->socket.async_write_some(piece, InMemory(impl_->operationMemory, [&](const error_code& e, std::size_t n) {
                                               error = e;
                                               written = n;
                                               finished = true;
                                           }));
            if (!impl_->runUntil(*deadline, finished)) impl_->timedOut("send");
        }
        if (error) throw transferFailure(error, isOpen());
        sent += written;
    }
}

std::size_t BoostTcpSocket::receive(void* buffer, std::size_t& size) {
    if (size == 0) return 0;
    error_code error;
    std::size_t received = impl_->socket.read_some(asio::buffer(buffer, size), error);
    if (wouldBlock(error)) {
        bool finished = false;
        impl_->socket.async_read_some(asio::buffer(buffer, size),
                                      InMemory(impl_->operationMemory, [&](const error_code& e, std::size_t n) {
                                          error = e;
                                          received = n;
                                          finished = true;
                                      }));
        if (!impl_->runUntil(Clock::now() + impl_->replyTimeout, finished)) impl_->timedOut("receive");
    }
    if (error) throw transferFailure(error, isOpen());
    size = received;
    return received;
}

ConnectOutcome BoostTcpSocket::connectTo(const Ipv4Target& target, std::uint64_t timeoutMs,
                                         const std::atomic<bool>& connecting) {
    auto& socket = impl_->socket;
    auto& context = impl_->context;
    const bool hasDeadline = timeoutMs != 0;
    const auto deadline =
        Clock::now() + std::chrono::milliseconds(std::min(timeoutMs, kLongestTimeoutMs));

    bool finished = false;
    error_code result = asio::error::would_block;
    socket.async_connect(tcp::endpoint(asio::ip::address_v4(target.address), target.port),
                         [&](const error_code& e) {
                             result = e;
                             finished = true;
                         });

    auto giveUp = [&](ConnectOutcome outcome) {
        error_code ignored;
        socket.close(ignored);
        context.restart();
        context.run();
        return outcome;
    };
    while (!finished) {
        if (!connecting.load()) return giveUp(ConnectOutcome::Aborted);
        auto wait = Clock::duration(kAbortPollInterval);
        if (hasDeadline) {
            const auto remaining =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (remaining.count() <= 0) return giveUp(ConnectOutcome::TimedOut);
            wait = std::min(wait, Clock::duration(remaining));
        }
        context.run_one_for(wait);
    }
    if (result || !socket.is_open()) return ConnectOutcome::Failed;
    error_code optionError;
    socket.set_option(asio::socket_base::keep_alive(true), optionError);
    if (optionError) throw systemFailure(optionError);
    // Transfers try the socket at once and wait only when it would block.
    socket.non_blocking(true, optionError);
    if (optionError) throw systemFailure(optionError);
    return ConnectOutcome::Connected;
}

int socketLibraryUsers() {
    std::lock_guard lock(libraryMutex);
    return libraryUsers;
}

}  // namespace Nerova::NvLib::Protocols::Ethernet
