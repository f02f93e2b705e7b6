// The live page's HTTP and WebSocket server (Boost.Beast) on 127.0.0.1.
// It runs on the io_context it is given and calls its handlers there, on
// the host's one thread. Every request passes the guard of
// request_guard.h first; sizes are capped (request headers 8 KiB, request
// bodies 16 KiB, WebSocket messages 64 KiB), and a WebSocket client that
// does not keep up with what it is sent is let go instead of being
// buffered for without end.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <boost/asio/io_context.hpp>

namespace vexa::live {

struct Reply {
    int status = 200;
    std::string contentType = "text/plain; charset=utf-8";
    std::string body;
    std::string attachment;  // a file name: the browser saves the body under it
};

class LiveServer {
public:
    struct Handlers {
        // GET of a path ("/state"; no query): the answer.
        std::function<Reply(const std::string& path)> get;
        // A text message of a WebSocket client at "/ws": the text sent back.
        std::function<std::string(const std::string& message)> message;
        // What a new WebSocket client is sent first.
        std::function<std::string()> greeting;
    };

    // Listens at once on 127.0.0.1:`port` (0: the system chooses).
    LiveServer(boost::asio::io_context& io, std::uint16_t port, Handlers handlers);
    ~LiveServer();
    LiveServer(const LiveServer&) = delete;
    LiveServer& operator=(const LiveServer&) = delete;

    std::uint16_t port() const;
    // Sends `text` to every WebSocket client.
    void broadcast(const std::string& text);
    std::size_t clients() const;

    struct Impl;

private:
    std::shared_ptr<Impl> impl_;
};

}  // namespace vexa::live
