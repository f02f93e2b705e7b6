#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <numeric>
#include <thread>
#include <vector>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/read.hpp>
#include <boost/asio/write.hpp>

#include "net/boost_tcp_socket.h"
#include "net/tcp_client.h"
#include "net/tcp_exception.h"

using namespace Nerova::NvLib::Protocols::Ethernet;
namespace asio = boost::asio;
using asio::ip::tcp;
using namespace std::chrono_literals;

namespace {

// The remote end of a connection, on 127.0.0.1 at a port the system chose.
// Connects complete through the listen queue, so a test can connect first
// and accept afterwards on the same thread.
class Peer {
public:
    explicit Peer(int backlog = asio::socket_base::max_listen_connections) {
        const tcp::endpoint endpoint(asio::ip::address_v4::loopback(), 0);
        acceptor_.open(endpoint.protocol());
        acceptor_.bind(endpoint);
        acceptor_.listen(backlog);
    }
    std::string port() const { return std::to_string(acceptor_.local_endpoint().port()); }
    NetworkEndpoint endpoint() const { return NetworkEndpoint("127.0.0.1", port()); }
    tcp::socket accept() { return acceptor_.accept(); }
    void stopListening() { acceptor_.close(); }

private:
    asio::io_context context_;
    tcp::acceptor acceptor_{context_};
};

struct Failure {
    TcpError code = TcpError::Unknown;
    std::string text;
};

Failure failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const TcpException& error) {
        return {error.code(), error.what()};
    }
    ADD_FAILURE() << "no TcpException";
    return {};
}

TcpError codeOf(const std::function<void()>& action) { return failureOf(action).code; }

std::size_t receiveSome(ITcpSocket& socket, std::vector<char>& buffer) {
    std::size_t size = buffer.size();
    return socket.receive(buffer.data(), size);
}

// Connects until the peer's listen queue is full: after that the system
// drops further handshakes and a connect can only time out.
std::vector<std::unique_ptr<ITcpSocket>> fillListenQueue(const Peer& peer) {
    std::vector<std::unique_ptr<ITcpSocket>> held;
    for (int attempt = 0; attempt < 16; ++attempt) {
        try {
            held.push_back(TcpClient(peer.endpoint()).connect(300));
        } catch (const TcpException& error) {
            if (error.code() == TcpError::ConnectTimeout) return held;
            throw;
        }
    }
    ADD_FAILURE() << "the listen queue never filled";
    return held;
}

}  // namespace

TEST(TcpSocket, WritesLargeBuffersWholeAndReceivesWhatCame) {
    Peer peer;
    auto socket = TcpClient(peer.endpoint()).connect(5000);
    tcp::socket remote = peer.accept();
    ASSERT_TRUE(socket->isOpen());
    EXPECT_EQ(socket->remoteEndpoint(), peer.endpoint());
    EXPECT_EQ(socket->localEndpoint().ip(), "127.0.0.1");
    EXPECT_EQ(socket->localEndpoint().port(), std::to_string(remote.remote_endpoint().port()));

    // More than one send piece, and not a multiple of it.
    std::vector<unsigned char> sent(3 * 65536 + 123);
    std::iota(sent.begin(), sent.end(), 0);
    std::vector<unsigned char> arrived(sent.size());
    std::thread reader([&] { asio::read(remote, asio::buffer(arrived)); });
    socket->write(sent.data(), sent.size());
    reader.join();
    EXPECT_EQ(arrived, sent);

    asio::write(remote, asio::buffer("hello", 5));
    std::vector<char> buffer(64, 'x');
    std::size_t size = buffer.size();
    EXPECT_EQ(socket->receive(buffer.data(), size), 5u);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(std::string(buffer.data(), 5), "hello");
}

TEST(TcpSocket, ReceiveOfNothingReturnsAtOnce) {
    Peer peer;
    auto socket = TcpClient(peer.endpoint()).connect(5000);
    std::size_t size = 0;
    EXPECT_EQ(socket->receive(nullptr, size), 0u);  // would block on the network otherwise
    socket->close();
    size = 0;
    EXPECT_EQ(socket->receive(nullptr, size), 0u);
}

TEST(TcpSocket, PeerCloseAndLocalCloseAreToldApart) {
    Peer peer;
    auto socket = TcpClient(peer.endpoint()).connect(5000);
    peer.accept().close();
    std::vector<char> buffer(16);
    Failure failure = failureOf([&] { receiveSome(*socket, buffer); });
    EXPECT_EQ(failure.code, TcpError::RemoteClosed);
    EXPECT_EQ(failure.text, "Connection terminated by remote socket");

    auto second = TcpClient(peer.endpoint()).connect(5000);
    second->close();
    EXPECT_FALSE(second->isOpen());
    second->close();  // closing twice is harmless
    failure = failureOf([&] { receiveSome(*second, buffer); });
    EXPECT_EQ(failure.code, TcpError::LocalClosed);
    EXPECT_EQ(failure.text, "Connection terminated by local socket");
    EXPECT_EQ(codeOf([&] { second->write("x", 1); }), TcpError::LocalClosed);
}

TEST(TcpSocket, SilentPeerEndsTheReceiveAfterTheReplyTimeout) {
    Peer peer;
    auto socket = TcpClient(peer.endpoint(), 100ms).connect(5000);
    tcp::socket remote = peer.accept();
    std::vector<char> buffer(16);
    const Failure failure = failureOf([&] { receiveSome(*socket, buffer); });
    EXPECT_EQ(failure.code, TcpError::Unknown);
    EXPECT_NE(failure.text.find("timed out"), std::string::npos) << failure.text;
    EXPECT_FALSE(socket->isOpen());
}

TEST(TcpConnect, RefusedPortFailsAtOnceWithUnknownError) {
    Peer peer;
    const NetworkEndpoint endpoint = peer.endpoint();
    peer.stopListening();
    // A refusal must not wait for this deadline: it would report a time-out
    // instead of the failure.
    const Failure failure = failureOf([&] { TcpClient(endpoint).connect(60000); });
    EXPECT_EQ(failure.code, TcpError::Unknown);
    EXPECT_EQ(failure.text, "Unknown error");
}

TEST(TcpConnect, UnansweredHandshakeRunsIntoTheDeadline) {
    Peer peer(0);
    const auto held = fillListenQueue(peer);
    TcpClient client(peer.endpoint());
    const Failure failure = failureOf([&] { client.connect(200); });
    EXPECT_EQ(failure.code, TcpError::ConnectTimeout);
    EXPECT_EQ(failure.text, "Connect timeout occurred");
    EXPECT_FALSE(client.isConnecting());
}

TEST(TcpConnect, AbortFromAnotherThreadEndsAConnectWithoutDeadline) {
    Peer peer(0);
    const auto held = fillListenQueue(peer);
    TcpClient client(peer.endpoint());
    EXPECT_FALSE(client.abortConnect());

    std::atomic<TcpError> outcome{TcpError::Unknown};
    std::thread connector([&] { outcome = codeOf([&] { client.connect(0); }); });
    while (!client.isConnecting()) std::this_thread::yield();
    EXPECT_TRUE(client.abortConnect());
    connector.join();
    EXPECT_EQ(outcome.load(), TcpError::ConnectAborted);
    EXPECT_FALSE(client.isConnecting());
    EXPECT_FALSE(client.abortConnect());
}

TEST(TcpConnect, EachSocketHoldsTheSocketsLibraryWhileItLives) {
    const int before = socketLibraryUsers();
    {
        BoostTcpSocket first;
        auto second = std::make_unique<BoostTcpSocket>();
        EXPECT_EQ(socketLibraryUsers(), before + 2);
        second.reset();
        EXPECT_EQ(socketLibraryUsers(), before + 1);
    }
    EXPECT_EQ(socketLibraryUsers(), before);
}

TEST(TcpSocket, EndpointsOfAClosedSocketFailAsTcpExceptionsWithTheSystemsText) {
    Peer peer;
    auto socket = TcpClient(peer.endpoint()).connect(5000);
    socket->close();
    for (const auto& query : {std::function<void()>([&] { socket->remoteEndpoint(); }),
                              std::function<void()>([&] { socket->localEndpoint(); })}) {
        const Failure failure = failureOf(query);
        EXPECT_EQ(failure.code, TcpError::Unknown);
        EXPECT_EQ(failure.text.rfind("Unknown error: ", 0), 0u) << failure.text;
        EXPECT_GT(failure.text.size(), 15u) << "the system's reason follows";
    }
}
