// vexa-sim: a simulated Vexa device on 127.0.0.1 until interrupted.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include <boost/asio/io_context.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>

#include "sim/simulator.h"

namespace {

const char* const kUsage =
    "usage: vexa-sim [--port N] [--name TEXT] [--channels LIST] [--rate HZ]\n"
    "                [--offset S] [--drift PPM] [faults]\n"
    "  --port N          listen on 127.0.0.1:N (0, the default, lets the system choose)\n"
    "  --channels LIST   comma-separated fullname[:unit], e.g. Engine/Speed:rpm,Torque:Nm\n"
    "  --rate HZ         records per second of device time\n"
    "  --offset S        device clock at start, in seconds\n"
    "  --drift PPM       device clock runs fast by this many parts per million\n"
    "  --exit-after S    stop serving after S seconds (default: run until interrupted)\n"
    "faults:\n"
    "  --refuse-run, --refuse-stop     answer RUN / STOP with a refusal\n"
    "  --short-replies, --long-replies status and count replies of the wrong size\n"
    "  --oversized-length              framed replies announce ~2 GiB\n"
    "  --bad-status-every N            every Nth record has status '1'\n"
    "  --stall-after N                 answer N commands, then none\n"
    "  --close-after N                 answer N commands, then hang up\n"
    "  --close-mid-block               hang up halfway through a record block\n"
    "  --trickle BYTES                 send replies in pieces of BYTES\n";

[[noreturn]] void usageError(const std::string& message) {
    std::cerr << "vexa-sim: " << message << "\n" << kUsage;
    std::exit(2);
}

unsigned long number(const std::string& option, const char* text) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (end == text || *end != '\0') usageError("bad number for " + option + ": " + text);
    return value;
}

double real(const std::string& option, const char* text) {
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0') usageError("bad number for " + option + ": " + text);
    return value;
}

}  // namespace

int main(int argc, char** argv) {
    vexa::sim::SimConfig config;
    vexa::sim::Faults& faults = config.faults;
    unsigned long port = 0;
    double exitAfter = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) usageError(option + " needs a value");
            return argv[++i];
        };
        if (option == "--help" || option == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (option == "--port") {
            port = number(option, value());
            if (port > 65535) usageError("port out of range");
        } else if (option == "--name") {
            config.name = value();
        } else if (option == "--channels") {
            config.channels = vexa::sim::parseChannelList(value());
        } else if (option == "--rate") {
            config.sampleRate = real(option, value());
            if (!(config.sampleRate > 0)) usageError("the rate must be above 0");
        } else if (option == "--offset") {
            config.clockOffset = real(option, value());
        } else if (option == "--drift") {
            config.driftPpm = real(option, value());
        } else if (option == "--exit-after") {
            exitAfter = real(option, value());
        } else if (option == "--refuse-run") {
            faults.refuseRun = true;
        } else if (option == "--refuse-stop") {
            faults.refuseStop = true;
        } else if (option == "--short-replies") {
            faults.shortReplies = true;
        } else if (option == "--long-replies") {
            faults.longReplies = true;
        } else if (option == "--oversized-length") {
            faults.oversizedLength = true;
        } else if (option == "--bad-status-every") {
            faults.badStatusEvery = static_cast<std::uint32_t>(number(option, value()));
        } else if (option == "--stall-after") {
            faults.stallAfter = static_cast<std::uint32_t>(number(option, value()));
        } else if (option == "--close-after") {
            faults.closeAfter = static_cast<std::uint32_t>(number(option, value()));
        } else if (option == "--close-mid-block") {
            faults.closeMidBlock = true;
        } else if (option == "--trickle") {
            faults.tricklePiece = number(option, value());
        } else {
            usageError("unknown option " + option);
        }
    }

    try {
        vexa::sim::Simulator simulator(config, static_cast<std::uint16_t>(port));
        std::cout << "listening on 127.0.0.1:" << simulator.port() << std::endl;
        boost::asio::io_context waiter;
        boost::asio::signal_set signals(waiter, SIGINT, SIGTERM);
        boost::asio::steady_timer deadline(waiter);
        signals.async_wait([&](const boost::system::error_code&, int) { deadline.cancel(); });
        if (exitAfter > 0) {
            deadline.expires_after(std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::duration<double>(exitAfter)));
            deadline.async_wait([&](const boost::system::error_code&) { signals.cancel(); });
        }
        waiter.run();
        simulator.stop();
    } catch (const std::exception& error) {
        std::cerr << "vexa-sim: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
