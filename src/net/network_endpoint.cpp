#include "net/network_endpoint.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#endif

namespace Nerova::NvLib::Protocols::Ethernet {
namespace {

bool isLocalhost(const std::string& text) {
    constexpr std::string_view name = "localhost";
    return text.size() == name.size() &&
           std::equal(text.begin(), text.end(), name.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == b;
           });
}

std::string withoutLocalhost(std::string text) {
    return isLocalhost(text) ? std::string("127.0.0.1") : std::move(text);
}

}  // namespace

NetworkEndpoint::NetworkEndpoint(std::string ip, std::string port)
    : ip_(withoutLocalhost(std::move(ip))), port_(std::move(port)) {}

std::optional<std::uint32_t> parseIpv4(const std::string& text) {
    in_addr address{};
    if (inet_pton(AF_INET, text.c_str(), &address) != 1) return std::nullopt;
    std::uint32_t value = 0;
    std::memcpy(&value, &address, sizeof value);
    return ntohl(value);
}

bool isValidIpAddress(const std::string& text) {
    const std::string address = withoutLocalhost(text);
    // inet_pton alone would do, but some platforms accept shortened forms:
    // the user must type all four parts.
    if (std::count(address.begin(), address.end(), '.') != 3) return false;
    return parseIpv4(address).has_value();
}

std::optional<std::uint16_t> parsePort(const std::string& text) {
    if (text.empty()) return std::nullopt;
    const bool hex = text.size() >= 3 && text.compare(0, 2, "0x") == 0;
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(begin, &end, hex ? 16 : 10);
    if (errno == ERANGE || end == begin || *end != '\0' || value >= 65536) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

bool isValidPort(const std::string& text) {
    return parsePort(text).has_value();
}

}  // namespace Nerova::NvLib::Protocols::Ethernet
