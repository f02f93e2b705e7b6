// What the plug-in knows of one remote device.
#pragma once

#include <cstdint>
#include <string>

inline constexpr const char* kUnknownDeviceName = "Unknown Vexa device";

struct DeviceInfo {
    std::string ipAddress;  // as the user typed it or the settings held it
    std::uint32_t port = 0;
    std::string name = kUnknownDeviceName;  // from IDN? while connected
    bool connected = false;
};
