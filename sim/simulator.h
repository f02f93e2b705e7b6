// A Vexa device simulator: TCP servers on a loopback address (127.0.0.1
// unless told otherwise), one per simulated device, that serve any number
// of clients at once, each with its own device state, all on one thread of
// their own.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sim/device_model.h"

namespace vexa::sim {

class Simulator {
public:
    // Listens at once on `address`, which must lie in 127.0.0.0/8
    // (std::invalid_argument otherwise); port 0 lets the system choose (see
    // port()). Another loopback address lets a test use a fixed port without
    // colliding with other tests. With several devices (config.devices) the
    // next ones listen on the ports after `port`, or on ports the system
    // chooses.
    explicit Simulator(SimConfig config, std::uint16_t port = 0, const std::string& address = "127.0.0.1");
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    const std::string& address() const;
    // The first device's port, and every device's in order.
    std::uint16_t port() const;
    const std::vector<std::uint16_t>& ports() const;
    // Hangs up on every client and stops serving. Idempotent.
    void stop();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vexa::sim
