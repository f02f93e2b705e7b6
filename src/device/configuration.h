// The device's channel list as it comes in the CFG? reply:
//   channel 1 name 'Engine/Speed' unit 'rpm' channel 2 name 'Torque' unit 'Nm'
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct ConfiguredChannel {
    std::uint32_t index = 0;  // 1, 2, 3 ... in reply order, whatever the device numbers
    std::string fullName;
    std::string group;  // before the last '/', else before the last '.', else "allChannels"
    std::string name;   // after that separator, or the whole full name
    std::string unit;
};

// Splits a full name into its group and name.
void splitChannelName(const std::string& fullName, std::string& group, std::string& name);

// Every "channel " entry of the reply text. An entry that lacks its " name"
// or " unit" keyword takes its quotes from the start of the text: devices
// in the field answer that way and stored setups rely on the result.
std::vector<ConfiguredChannel> parseConfiguration(std::string_view text);
