// One client connection of the simulator. Runs on the simulator's thread.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>

#include "sim/device_model.h"

namespace vexa::sim {

class Session : public std::enable_shared_from_this<Session> {
public:
    Session(boost::asio::ip::tcp::socket socket, const SimConfig& config,
            std::function<double()> clock);
    void start();
    void close();

private:
    struct Chunk {
        Bytes bytes;
        bool pauseAfter = false;   // trickling: wait a moment before the next piece
        bool hangUpAfter = false;  // close the connection once this is sent
    };

    void readMore();
    void takeCommands();
    void handle(const std::string& command);
    void send(Bytes bytes, bool hangUpAfter, std::size_t piece);
    void writeNext();

    boost::asio::ip::tcp::socket socket_;
    boost::asio::steady_timer pauseTimer_;
    const SimConfig& config_;
    std::function<double()> clock_;
    DeviceModel model_;
    std::array<char, 4096> readBuffer_{};
    std::string pending_;
    bool armed_ = false;         // the faults' phase has begun
    std::uint32_t answered_ = 0;  // commands answered since then
    bool hungUp_ = false;
    std::deque<Chunk> outgoing_;
    bool writing_ = false;
};

}  // namespace vexa::sim
