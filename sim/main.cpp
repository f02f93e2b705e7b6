// vexa-sim: a simulated Vexa device on a loopback address until interrupted.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>

#include <boost/asio/io_context.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>

#include "sim/command_line.h"
#include "sim/simulator.h"

int main(int argc, char** argv) {
    vexa::sim::SimCommand command;
    const vexa::cli::ParseOutcome parsed = vexa::sim::readCommandLine({argv + 1, argv + argc}, command);
    if (!parsed.run) {
        std::cout << parsed.out;
        if (!parsed.error.empty()) std::cerr << parsed.error << "\n";
        return parsed.status;
    }

    try {
        vexa::sim::Simulator simulator(command.config, command.port, command.address);
        for (const std::uint16_t port : simulator.ports())
            std::cout << "listening on " << simulator.address() << ":" << port << "\n";
        std::cout << std::flush;
        boost::asio::io_context waiter;
        boost::asio::signal_set signals(waiter, SIGINT, SIGTERM);
        boost::asio::steady_timer deadline(waiter);
        signals.async_wait([&](const boost::system::error_code&, int) { deadline.cancel(); });
        if (command.exitAfterSeconds > 0) {
            deadline.expires_after(std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::duration<double>(command.exitAfterSeconds)));
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
