#include "host/live/live_program.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>

#include "host/live/http_server.h"
#include "host/live/live_host.h"
#include "host/live/page_assets.h"
#include "platform/com_error.h"
#include "sim/simulator.h"

namespace vexa::live {

namespace {

namespace asio = boost::asio;

constexpr auto kTick = std::chrono::milliseconds(25);
// How often the pages are sent what changed: the state (the window with
// its live values, the acquisition) and the plot.
constexpr auto kStateEvery = std::chrono::milliseconds(100);
constexpr auto kPlotEvery = std::chrono::milliseconds(250);

Reply json(const Json& value) { return {200, "application/json", kite::jsonText(value), {}}; }

// What the page's server answers, from the host of the moment.
class Pages {
public:
    explicit Pages(std::optional<LiveHost>& host) : host_(host) {}

    Reply get(const std::string& path) const {
        if (path == "/state") return json(host_->state());
        if (path == "/recording.csv") return {200, "text/csv; charset=utf-8", host_->csv(), "vexa-recording.csv"};
        if (const PageAsset* asset = findPageAsset(path))
            return {200, std::string(asset->contentType), std::string(asset->body), {}};
        return {404, "text/plain; charset=utf-8", "no page " + path + "\n", {}};
    }

    // The state goes out before the acknowledgement, so a page that stops
    // waiting already shows what the action did.
    std::string message(const std::string& text, LiveServer& server) {
        const Json parsed = Json::parse(text, nullptr, false);
        const Json ack = host_->handle(parsed.is_discarded() ? Json("not JSON") : parsed);
        pushState(server);
        return kite::jsonText(ack);
    }

    void pushState(LiveServer& server) {
        std::string state = kite::jsonText(host_->state());
        if (state == lastState_) return;
        server.broadcast(state);
        lastState_ = std::move(state);
    }

    void pushPlot(LiveServer& server) {
        Json plot = host_->plot();
        plot["type"] = "plot";
        std::string text = kite::jsonText(plot);
        if (text == lastPlot_) return;
        server.broadcast(text);
        lastPlot_ = std::move(text);
    }

    // A page that has just connected has seen neither.
    std::string greeting() {
        lastPlot_.clear();
        return kite::jsonText(host_->state());
    }

private:
    std::optional<LiveHost>& host_;
    std::string lastState_;
    std::string lastPlot_;
};

// An exception must not leave a handler of the server: it would end the
// host's loop.
template <class Body>
auto guarded(Body body, decltype(body()) failed) -> decltype(body()) {
    try {
        return body();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vexa-host: %s\n", error.what());
    } catch (const ComError& error) {
        std::fprintf(stderr, "vexa-host: %s\n", error.message().c_str());
    }
    return failed;
}

class Loop {
public:
    Loop(asio::io_context& io, LiveHost& host, Pages& pages, LiveServer& server)
        : timer_(io), host_(host), pages_(pages), server_(server) {}

    void start() {
        const auto now = Clock::now();
        nextState_ = now;
        nextPlot_ = now;
        schedule(now + kTick);
    }

private:
    void schedule(Clock::time_point at) {
        timer_.expires_at(at);
        timer_.async_wait([this](const boost::system::error_code& error) {
            if (error) return;
            const auto now = Clock::now();
            guarded([&] { return turn(now); }, false);
            schedule(std::max(now, timer_.expiry() + kTick));
        });
    }

    bool turn(Clock::time_point now) {
        host_.tick(now);
        if (now >= nextState_) {
            pages_.pushState(server_);
            nextState_ = now + kStateEvery;
        }
        if (now >= nextPlot_) {
            pages_.pushPlot(server_);
            nextPlot_ = now + kPlotEvery;
        }
        return true;
    }

    asio::steady_timer timer_;
    LiveHost& host_;
    Pages& pages_;
    LiveServer& server_;
    Clock::time_point nextState_;
    Clock::time_point nextPlot_;
};

}  // namespace

int runLive(const LiveOptions& options) {
    std::unique_ptr<sim::Simulator> simulator;
    std::vector<std::string> devices = options.devices;
    if (devices.empty() && options.settingsFile.empty()) {
        simulator = std::make_unique<sim::Simulator>(sim::SimConfig{});
        devices.push_back("127.0.0.1:" + std::to_string(simulator->port()));
    }

    asio::io_context io;
    std::optional<LiveHost> host;
    Pages pages(host);
    std::unique_ptr<LiveServer> server;
    LiveServer::Handlers handlers;
    handlers.get = [&](const std::string& path) {
        return guarded([&] { return pages.get(path); }, Reply{500, "text/plain; charset=utf-8", "the host failed\n", {}});
    };
    handlers.message = [&](const std::string& text) {
        return guarded([&] { return pages.message(text, *server); }, std::string(R"({"type":"ack","error":"the host failed"})"));
    };
    handlers.greeting = [&] { return guarded([&] { return pages.greeting(); }, std::string("{}")); };
    server = std::make_unique<LiveServer>(io, options.port, std::move(handlers));
    std::printf("ui on http://127.0.0.1:%u/\n", static_cast<unsigned>(server->port()));
    std::fflush(stdout);

    const bool given = !devices.empty() && options.settingsFile.empty();
    host.emplace(options, devices, given ? host::WindowKind::Setup : host::WindowKind::Settings);
    if (simulator) std::printf("simulated device on %s\n", devices.front().c_str());
    std::fflush(stdout);

    asio::signal_set signals(io, SIGINT, SIGTERM);
    signals.async_wait([&](const boost::system::error_code&, int) { io.stop(); });
    Loop loop(io, *host, pages, *server);
    loop.start();
    io.run();

    // The plug-in goes first, while the rest it may call still stands.
    host.reset();
    return 0;
}

}  // namespace vexa::live
