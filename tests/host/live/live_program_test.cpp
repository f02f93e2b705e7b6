// `vexa-host ui` as a browser meets it, over real sockets: the first line,
// the page and its state, requests from elsewhere refused, and actions no
// user could do refused without changing anything. The same program runs
// natively and, as the Windows smoke test, under wine.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>
#include <nlohmann/json.hpp>

#include "child_process.h"
#include "support/program_run.h"
#include "support/temp_file.h"

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;
using Json = nlohmann::json;
using Headers = std::vector<std::pair<std::string, std::string>>;

struct Answer {
    int status = 0;
    std::string type;
    std::string body;
};

// The host started with an empty settings document: no devices, the
// settings window open.
class LiveProgram : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        settings_ = new vexa::test::TempFile("settings.xml");
        std::ofstream(settings_->path()) << "<?xml version=\"1.0\"?>\n<HostSettings/>\n";
        program_ = new vexa::test::ChildProcess(vexa::test::programBesideTest("vexa-host"),
                                                {"ui", "--port", "0", "--settings", settings_->path()});
        // Under wine a start takes seconds.
        const auto first = program_->readLine(std::chrono::seconds(60));
        ASSERT_TRUE(first.has_value()) << "vexa-host ui said nothing";
        std::smatch match;
        ASSERT_TRUE(std::regex_match(*first, match, std::regex(R"(ui on http://127\.0\.0\.1:(\d+)/)"))) << *first;
        port_ = static_cast<unsigned short>(std::stoi(match[1]));
    }
    static void TearDownTestSuite() {
        if (program_ != nullptr) {
#ifndef _WIN32
            EXPECT_EQ(program_->stop(), 0) << "interrupted, the program ends cleanly";
#endif
            delete program_;
        }
        delete settings_;
    }

    static std::string here() { return "127.0.0.1:" + std::to_string(port_); }
    static std::string ownOrigin() { return "http://" + here(); }

    static Answer request(http::verb method, const std::string& target, const Headers& headers = {{"Host", here()}}) {
        asio::io_context io;
        beast::tcp_stream stream(io);
        stream.connect(tcp::endpoint(asio::ip::make_address("127.0.0.1"), port_));
        http::request<http::string_body> request(method, target, 11);
        for (const auto& [name, value] : headers) request.set(name, value);
        http::write(stream, request);
        beast::flat_buffer buffer;
        http::response_parser<http::string_body> parser;
        parser.body_limit(64 * 1024 * 1024);
        http::read(stream, buffer, parser);
        const auto& response = parser.get();
        return {static_cast<int>(response.result_int()), std::string(response[http::field::content_type]),
                response.body()};
    }
    static Answer get(const std::string& target) { return request(http::verb::get, target); }

    // A WebSocket of the page.
    struct Socket {
        asio::io_context io;
        websocket::stream<tcp::socket> ws{io};
        bool refused = false;

        Socket(const std::string& origin) {
            ws.next_layer().connect(tcp::endpoint(asio::ip::make_address("127.0.0.1"), port_));
            ws.set_option(websocket::stream_base::decorator([origin](websocket::request_type& request) {
                if (!origin.empty()) request.set(http::field::origin, origin);
            }));
            websocket::response_type response;
            beast::error_code error;
            ws.handshake(response, here(), "/ws", error);
            // (Beast does not give the response of a refused handshake.)
            refused = static_cast<bool>(error);
        }
        void send(const std::string& text) { ws.write(asio::buffer(text)); }
        Json receive() {
            beast::flat_buffer buffer;
            ws.read(buffer);
            return Json::parse(beast::buffers_to_string(buffer.data()));
        }
        // The next message of `type`, skipping the others.
        Json next(const std::string& type) {
            for (;;) {
                Json message = receive();
                if (message.value("type", "") == type) return message;
            }
        }
    };

    static inline vexa::test::TempFile* settings_ = nullptr;
    static inline vexa::test::ChildProcess* program_ = nullptr;
    static inline unsigned short port_ = 0;
};

TEST_F(LiveProgram, ServesThePageItsScriptsAndItsState) {
    const Answer page = get("/");
    EXPECT_EQ(page.status, 200);
    EXPECT_EQ(page.type, "text/html; charset=utf-8");
    EXPECT_NE(page.body.find("<title>Vexa live</title>"), std::string::npos);
    for (const char* script : {"/live.js", "/kite.js", "/dygraph.js", "/dygraph.css", "/live.css"}) {
        const Answer file = get(script);
        EXPECT_EQ(file.status, 200) << script;
        EXPECT_GT(file.body.size(), 500u) << script;
    }
    EXPECT_EQ(get("/nothing").status, 404);

    const Answer state = get("/state");
    ASSERT_EQ(state.status, 200);
    EXPECT_EQ(state.type, "application/json");
    const Json parsed = Json::parse(state.body);
    EXPECT_EQ(parsed["run"]["state"], "idle");
    EXPECT_EQ(parsed["window"]["kind"], "settings");
    EXPECT_EQ(parsed["window"]["tree"]["type"], "Window");

    const Answer csv = get("/recording.csv");
    EXPECT_EQ(csv.status, 200);
    EXPECT_EQ(csv.body, "channel,time,value\n");
}

TEST_F(LiveProgram, RefusesRequestsFromElsewhere) {
    const std::string port = std::to_string(port_);
    struct Case {
        http::verb method;
        Headers headers;
        int status;
    };
    const Headers upgrade = {{"Connection", "Upgrade"}, {"Upgrade", "websocket"}, {"Sec-WebSocket-Version", "13"},
                             {"Sec-WebSocket-Key", "dGhlIHNhbXBsZSBub25jZQ=="}, {"Host", here()}};
    const auto upgradeFrom = [&](const std::string& origin) {
        Headers headers = upgrade;
        headers.emplace_back("Origin", origin);
        return headers;
    };
    const Case cases[] = {
        {http::verb::get, {{"Host", "localhost:" + port}}, 200},
        {http::verb::get, {{"Host", "attacker.example:" + port}}, 403},  // DNS rebinding
        {http::verb::get, {{"Host", "127.0.0.1:1" + port}}, 403},
        {http::verb::get, {{"Host", here()}, {"Origin", "http://attacker.example"}}, 403},
        {http::verb::post, {{"Host", here()}}, 403},
        {http::verb::post, {{"Host", here()}, {"Origin", "http://attacker.example"}}, 403},
        {http::verb::post, {{"Host", here()}, {"Origin", ownOrigin()}}, 405},
        {http::verb::get, {{"Host", here()}, {"X-Padding", std::string(20000, 'x')}}, 431},
        {http::verb::get, upgrade, 403},  // a WebSocket without an Origin
        {http::verb::get, upgradeFrom("http://attacker.example"), 403},
        {http::verb::get, upgradeFrom("http://localhost:" + port), 101},
    };
    for (const Case& c : cases) {
        const bool socket = c.headers.front().first == "Connection";
        const Answer answer = request(c.method, socket ? "/ws" : "/state", c.headers);
        EXPECT_EQ(answer.status, c.status) << http::to_string(c.method) << " " << c.headers.back().first << ": "
                                           << c.headers.back().second.substr(0, 40);
        if (c.status == 403) {
            EXPECT_EQ(answer.body.find("\"window\""), std::string::npos) << "nothing of the state";
        }
    }
    EXPECT_TRUE(Socket("http://attacker.example").refused);
}

TEST_F(LiveProgram, AnActionNoUserCouldDoGetsAClearErrorAndChangesNothing) {
    Socket page(ownOrigin());
    ASSERT_FALSE(page.refused);
    const Json before = page.next("state")["window"];
    ASSERT_EQ(before["kind"], "settings");

    const std::pair<const char*, const char*> cases[] = {
        {R"({"id":1,"action":"click","window":"settings","name":"noSuchButton"})", "no control named 'noSuchButton'"},
        {R"({"id":2,"action":"editCell","window":"settings","name":"deviceNVDrawGrid","row":1,"column":0,"text":"x"})",
         "no data row 1"},
        {R"({"id":3,"action":"pressCell","window":"settings","name":"deviceNVDrawGrid","row":0,"column":7})",
         "no data row 0"},
        {R"({"id":4,"action":"click","window":"setup","name":"addDeviceButton"})", "the setup window is not open"},
        {R"({"id":5,"action":"click","name":"addDeviceButton"})", "needs a text \"window\""},
        {R"({"id":6,"action":"open","window":"elsewhere"})", "no window \"elsewhere\""},
        {R"({"id":7,"action":"explode"})", "no action \"explode\""},
        {R"({"id":8,"window":"settings"})", "needs a text \"action\""},
        {R"(not json)", "a JSON object"},
    };
    for (const auto& [message, why] : cases) {
        page.send(message);
        const Json ack = page.next("ack");
        ASSERT_TRUE(ack.contains("error")) << message;
        EXPECT_NE(ack["error"].get<std::string>().find(why), std::string::npos) << message << ": " << ack["error"];
    }
    EXPECT_EQ(Json::parse(get("/state").body)["window"], before) << "the window is as it was";

    // A message beyond the cap ends the connection rather than being read.
    page.send(R"({"id":9,"action":"click","window":"settings","name":")" + std::string(70000, 'x') + "\"}");
    beast::flat_buffer buffer;
    beast::error_code error;
    while (!error) page.ws.read(buffer, error);
    EXPECT_EQ(Json::parse(get("/state").body)["window"], before);

    // The host still serves, and an action a user can do is done.
    Socket again(ownOrigin());
    again.next("state");
    again.send(R"({"id":10,"action":"click","window":"settings","name":"addDeviceButton"})");
    EXPECT_FALSE(again.next("ack").contains("error"));
    EXPECT_EQ(Json::parse(get("/state").body)["window"]["tree"].dump().find("Unknown Vexa device") != std::string::npos,
              true);
}

}  // namespace
