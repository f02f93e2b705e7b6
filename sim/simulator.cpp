#include "sim/simulator.h"

#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>

#include "sim/loopback_address.h"
#include "sim/session.h"

namespace vexa::sim {
namespace asio = boost::asio;
using asio::ip::tcp;

struct Simulator::Impl {
    SimConfig config;
    asio::io_context context;
    tcp::acceptor acceptor{context};
    std::vector<std::weak_ptr<Session>> sessions;
    std::thread thread;
    std::string address;
    std::uint16_t port = 0;
    bool stopped = false;

    void accept() {
        acceptor.async_accept([this](const boost::system::error_code& error, tcp::socket socket) {
            if (error) return;
            auto session = std::make_shared<Session>(std::move(socket), config, config.clock);
            sessions.push_back(session);
            session->start();
            accept();
        });
    }
};

Simulator::Simulator(SimConfig config, std::uint16_t port, const std::string& address)
    : impl_(std::make_unique<Impl>()) {
    const auto loopback = parseLoopbackAddress(address);
    if (!loopback) throw std::invalid_argument("not a loopback IPv4 address: " + address);
    impl_->config = std::move(config);
    if (!impl_->config.clock) {
        const auto started = std::chrono::steady_clock::now();
        impl_->config.clock = [started] {
            return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        };
    }
    const tcp::endpoint endpoint(asio::ip::address_v4(*loopback), port);
    impl_->acceptor.open(endpoint.protocol());
    impl_->acceptor.bind(endpoint);
    impl_->acceptor.listen();
    impl_->address = address;
    impl_->port = impl_->acceptor.local_endpoint().port();
    impl_->accept();
    impl_->thread = std::thread([this] { impl_->context.run(); });
}

Simulator::~Simulator() {
    stop();
}

const std::string& Simulator::address() const {
    return impl_->address;
}

std::uint16_t Simulator::port() const {
    return impl_->port;
}

void Simulator::stop() {
    if (impl_->stopped) return;
    impl_->stopped = true;
    asio::post(impl_->context, [this] {
        boost::system::error_code ignored;
        impl_->acceptor.close(ignored);
        for (const auto& weak : impl_->sessions) {
            if (auto session = weak.lock()) session->close();
        }
        impl_->context.stop();
    });
    impl_->thread.join();
}

}  // namespace vexa::sim
