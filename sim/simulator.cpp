#include "sim/simulator.h"

#include <algorithm>
#include <chrono>
#include <list>
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

namespace {

// One simulated device: its configuration and the server that answers as it.
struct Device {
    SimConfig config;
    tcp::acceptor acceptor;

    Device(SimConfig deviceConfig, asio::io_context& context) : config(std::move(deviceConfig)), acceptor(context) {}
};

}  // namespace

struct Simulator::Impl {
    asio::io_context context;
    std::list<Device> devices;  // sessions refer to their device's configuration
    std::vector<std::weak_ptr<Session>> sessions;
    std::thread thread;
    std::string address;
    std::vector<std::uint16_t> ports;
    bool stopped = false;

    void accept(Device& device) {
        device.acceptor.async_accept([this, &device](const boost::system::error_code& error, tcp::socket socket) {
            if (error) return;
            auto session = std::make_shared<Session>(std::move(socket), device.config, device.config.clock);
            sessions.push_back(session);
            session->start();
            accept(device);
        });
    }
};

Simulator::Simulator(SimConfig config, std::uint16_t port, const std::string& address)
    : impl_(std::make_unique<Impl>()) {
    const auto loopback = parseLoopbackAddress(address);
    if (!loopback) throw std::invalid_argument("not a loopback IPv4 address: " + address);
    if (!config.clock) {
        const auto started = std::chrono::steady_clock::now();
        config.clock = [started] {
            return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        };
    }
    impl_->address = address;
    const std::size_t count = std::max<std::size_t>(config.devices, 1);
    for (std::size_t i = 0; i < count; ++i) {
        SimConfig deviceConfig = config;
        if (i > 0) deviceConfig.name += " " + std::to_string(i + 1);
        Device& device = impl_->devices.emplace_back(std::move(deviceConfig), impl_->context);
        const auto devicePort = static_cast<std::uint16_t>(port == 0 ? 0 : port + i);
        const tcp::endpoint endpoint(asio::ip::address_v4(*loopback), devicePort);
        device.acceptor.open(endpoint.protocol());
        device.acceptor.bind(endpoint);
        device.acceptor.listen();
        impl_->ports.push_back(device.acceptor.local_endpoint().port());
        impl_->accept(device);
    }
    impl_->thread = std::thread([this] { impl_->context.run(); });
}

Simulator::~Simulator() {
    stop();
}

const std::string& Simulator::address() const {
    return impl_->address;
}

std::uint16_t Simulator::port() const {
    return impl_->ports.front();
}

const std::vector<std::uint16_t>& Simulator::ports() const {
    return impl_->ports;
}

void Simulator::stop() {
    if (impl_->stopped) return;
    impl_->stopped = true;
    asio::post(impl_->context, [this] {
        boost::system::error_code ignored;
        for (Device& device : impl_->devices) device.acceptor.close(ignored);
        for (const auto& weak : impl_->sessions) {
            if (auto session = weak.lock()) session->close();
        }
        impl_->context.stop();
    });
    impl_->thread.join();
}

}  // namespace vexa::sim
