#include "host/live/http_server.h"

#include <deque>
#include <set>

#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>

#include "host/live/request_guard.h"

namespace vexa::live {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;

namespace {

constexpr std::uint32_t kHeaderLimit = 8 * 1024;
constexpr std::uint64_t kBodyLimit = 16 * 1024;
constexpr std::size_t kMessageLimit = 64 * 1024;
// Messages waiting for one WebSocket client; a page that falls this far
// behind is gone or stuck.
constexpr std::size_t kQueueLimit = 256;
constexpr auto kIdle = std::chrono::seconds(60);
constexpr const char* kServerName = "vexa-host";

class WebSocketSession;

}  // namespace

struct LiveServer::Impl : std::enable_shared_from_this<LiveServer::Impl> {
    Impl(asio::io_context& context, Handlers given) : io(context), acceptor(context), handlers(std::move(given)) {}

    void accept();

    asio::io_context& io;
    tcp::acceptor acceptor;
    Handlers handlers;
    std::uint16_t port = 0;
    std::set<WebSocketSession*> sockets;
};

namespace {

using Request = http::request<http::string_body>;
using Response = http::response<http::string_body>;

// The reply's body moves into the response: a recording can be large.
Response answer(const Request& request, Reply reply) {
    Response response(static_cast<http::status>(reply.status), request.version());
    response.set(http::field::server, kServerName);
    response.set(http::field::content_type, reply.contentType);
    response.set(http::field::cache_control, "no-store");
    response.set("X-Content-Type-Options", "nosniff");
    response.set("X-Frame-Options", "DENY");
    response.set("Content-Security-Policy",
                 "default-src 'self'; style-src 'self' 'unsafe-inline'; img-src 'self' data:; frame-ancestors 'none'");
    if (!reply.attachment.empty())
        response.set(http::field::content_disposition, "attachment; filename=\"" + reply.attachment + "\"");
    response.keep_alive(request.keep_alive());
    response.body() = std::move(reply.body);
    response.prepare_payload();
    if (request.method() == http::verb::head) response.body().clear();
    return response;
}

Reply plain(int status, std::string text) { return {status, "text/plain; charset=utf-8", std::move(text) + "\n", {}}; }

class WebSocketSession : public std::enable_shared_from_this<WebSocketSession> {
public:
    WebSocketSession(tcp::socket socket, std::shared_ptr<LiveServer::Impl> server)
        : ws_(std::move(socket)), server_(std::move(server)) {}
    ~WebSocketSession() { server_->sockets.erase(this); }

    void open(Request request) {
        ws_.read_message_max(kMessageLimit);
        ws_.set_option(websocket::stream_base::timeout::suggested(beast::role_type::server));
        ws_.set_option(websocket::stream_base::decorator(
            [](websocket::response_type& response) { response.set(http::field::server, kServerName); }));
        ws_.async_accept(request, [self = shared_from_this()](beast::error_code error) {
            if (error) return;
            self->server_->sockets.insert(self.get());
            self->send(std::make_shared<const std::string>(self->server_->handlers.greeting()));
            self->read();
        });
    }

    void send(std::shared_ptr<const std::string> text) {
        if (closing_) return;
        if (queue_.size() >= kQueueLimit) {
            closing_ = true;
            beast::get_lowest_layer(ws_).close();
            return;
        }
        queue_.push_back(std::move(text));
        if (queue_.size() == 1) write();
    }

private:
    void read() {
        ws_.async_read(buffer_, [self = shared_from_this()](beast::error_code error, std::size_t) {
            if (error) return;  // closed, timed out or too long: the session ends
            const std::string text = beast::buffers_to_string(self->buffer_.data());
            self->buffer_.consume(self->buffer_.size());
            self->send(std::make_shared<const std::string>(self->server_->handlers.message(text)));
            self->read();
        });
    }

    void write() {
        ws_.text(true);
        ws_.async_write(asio::buffer(*queue_.front()), [self = shared_from_this()](beast::error_code error, std::size_t) {
            if (error) {
                self->closing_ = true;
                return;
            }
            self->queue_.pop_front();
            if (!self->queue_.empty()) self->write();
        });
    }

    websocket::stream<beast::tcp_stream> ws_;
    std::shared_ptr<LiveServer::Impl> server_;
    beast::flat_buffer buffer_;
    std::deque<std::shared_ptr<const std::string>> queue_;
    bool closing_ = false;
};

class HttpSession : public std::enable_shared_from_this<HttpSession> {
public:
    HttpSession(tcp::socket socket, std::shared_ptr<LiveServer::Impl> server)
        : stream_(std::move(socket)), server_(std::move(server)) {}

    void read() {
        parser_.emplace();
        parser_->header_limit(kHeaderLimit);
        parser_->body_limit(kBodyLimit);
        stream_.expires_after(kIdle);
        http::async_read(stream_, buffer_, *parser_, [self = shared_from_this()](beast::error_code error, std::size_t) {
            self->onRead(error);
        });
    }

private:
    void onRead(beast::error_code error) {
        if (error == http::error::header_limit) return refuse(431, "the request's header is too large");
        if (error == http::error::body_limit) return refuse(413, "the request's body is too large");
        if (error) return;  // closed, timed out or not HTTP
        Request request = parser_->release();
        const auto origin = request.find(http::field::origin);
        RequestFacts facts;
        facts.method = std::string_view(request.method_string().data(), request.method_string().size());
        facts.host = std::string_view(request[http::field::host].data(), request[http::field::host].size());
        if (origin != request.end()) facts.origin = std::string_view(origin->value().data(), origin->value().size());
        facts.upgrade = websocket::is_upgrade(request);
        const Refusal refusal = checkRequest(facts, server_->port);
        if (refusal != Refusal::None) return respond(request, plain(403, refusalText(refusal)), false);
        const std::string path = target(request);
        if (facts.upgrade) {
            if (path != "/ws") return respond(request, plain(404, "WebSockets are served at /ws"), false);
            std::make_shared<WebSocketSession>(stream_.release_socket(), server_)->open(std::move(request));
            return;
        }
        if (request.method() != http::verb::get && request.method() != http::verb::head)
            return respond(request, plain(405, "this server only serves pages and data"), false);
        respond(request, server_->handlers.get(path), request.keep_alive());
    }

    static std::string target(const Request& request) {
        const std::string whole(request.target().data(), request.target().size());
        return whole.substr(0, whole.find_first_of("?#"));
    }

    void refuse(int status, const char* why) {
        Request request;
        request.version(11);
        respond(request, plain(status, why), false);
    }

    void respond(const Request& request, Reply reply, bool keepOpen) {
        auto response = std::make_shared<Response>(answer(request, std::move(reply)));
        response->keep_alive(keepOpen);
        http::async_write(stream_, *response,
                          [self = shared_from_this(), response, keepOpen](beast::error_code error, std::size_t) {
                              if (!error && keepOpen) return self->read();
                              beast::error_code ignored;
                              self->stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
                          });
    }

    beast::tcp_stream stream_;
    std::shared_ptr<LiveServer::Impl> server_;
    beast::flat_buffer buffer_{kHeaderLimit + kBodyLimit};
    std::optional<http::request_parser<http::string_body>> parser_;
};

}  // namespace

void LiveServer::Impl::accept() {
    // A session keeps the server's state alive for as long as it lasts.
    acceptor.async_accept([self = shared_from_this()](beast::error_code error, tcp::socket socket) {
        if (error == asio::error::operation_aborted || !self->acceptor.is_open()) return;
        if (!error) std::make_shared<HttpSession>(std::move(socket), self)->read();
        self->accept();
    });
}

LiveServer::LiveServer(asio::io_context& io, std::uint16_t port, Handlers handlers)
    : impl_(std::make_shared<Impl>(io, std::move(handlers))) {
    const tcp::endpoint endpoint(asio::ip::make_address_v4("127.0.0.1"), port);
    impl_->acceptor.open(endpoint.protocol());
#ifndef _WIN32
    // A restart may reuse a port whose last connections still wait to close.
    // (On Windows the same option would let another program take the port.)
    impl_->acceptor.set_option(tcp::acceptor::reuse_address(true));
#endif
    impl_->acceptor.bind(endpoint);
    impl_->acceptor.listen();
    impl_->port = impl_->acceptor.local_endpoint().port();
    impl_->accept();
}

LiveServer::~LiveServer() {
    beast::error_code ignored;
    impl_->acceptor.close(ignored);
}

std::uint16_t LiveServer::port() const { return impl_->port; }

void LiveServer::broadcast(const std::string& text) {
    if (impl_->sockets.empty()) return;
    auto shared = std::make_shared<const std::string>(text);
    // A send may drop a client that fell behind: walk a copy.
    const std::set<WebSocketSession*> now = impl_->sockets;
    for (WebSocketSession* session : now) session->send(shared);
}

std::size_t LiveServer::clients() const { return impl_->sockets.size(); }

}  // namespace vexa::live
