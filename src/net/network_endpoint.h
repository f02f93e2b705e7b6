// An IPv4 endpoint as the user typed it, and the checks of those texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace Nerova::NvLib::Protocols::Ethernet {

class NetworkEndpoint {
public:
    // "localhost" in any letter case is stored as "127.0.0.1"; everything
    // else is kept as given and checked only when a client takes it.
    NetworkEndpoint(std::string ip, std::string port);

    const std::string& ip() const noexcept { return ip_; }
    const std::string& port() const noexcept { return port_; }

    friend bool operator==(const NetworkEndpoint&, const NetworkEndpoint&) = default;

private:
    std::string ip_;
    std::string port_;
};

bool isValidIpAddress(const std::string& text);
bool isValidPort(const std::string& text);

// The port number a valid port text stands for ("0x" + hex digits, or decimal).
std::optional<std::uint16_t> parsePort(const std::string& text);

// The four address bytes of a dotted IPv4 text, as the system reads it.
std::optional<std::uint32_t> parseIpv4(const std::string& text);

}  // namespace Nerova::NvLib::Protocols::Ethernet
