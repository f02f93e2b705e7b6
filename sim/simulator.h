// A Vexa device simulator: a TCP server on 127.0.0.1 that serves any number
// of clients at once, each with its own device state, on a thread of its own.
#pragma once

#include <cstdint>
#include <memory>

#include "sim/device_model.h"

namespace vexa::sim {

class Simulator {
public:
    // Listens at once; port 0 lets the system choose (see port()).
    explicit Simulator(SimConfig config, std::uint16_t port = 0);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    std::uint16_t port() const;
    // Hangs up on every client and stops serving. Idempotent.
    void stop();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vexa::sim
