#include "device/configuration.h"

#include "device/channel_table.h"

namespace {

constexpr auto none = std::string_view::npos;

// The position just past `position`, where a search that found nothing
// starts again from the beginning.
std::size_t after(std::size_t position) {
    return position == none ? 0 : position + 1;
}

// The text between the next two single quotes from `from`; an unclosed
// quote runs to the end. Returns where the closing quote stands.
std::size_t quoted(std::string_view text, std::size_t from, std::string& out) {
    const std::size_t open = after(text.find('\'', from));
    const std::size_t close = text.find('\'', open);
    out.assign(text.substr(open, close == none ? none : close - open));
    return close;
}

}  // namespace

void splitChannelName(const std::string& fullName, std::string& group, std::string& name) {
    std::size_t separator = fullName.rfind('/');
    if (separator == std::string::npos) separator = fullName.rfind('.');
    if (separator == std::string::npos) {
        group = VexaChannelTable::kAllChannels;
        name = fullName;
        return;
    }
    group = fullName.substr(0, separator);
    name = fullName.substr(separator + 1);
}

std::vector<ConfiguredChannel> parseConfiguration(std::string_view text) {
    std::vector<ConfiguredChannel> channels;
    std::uint32_t index = 0;
    for (std::size_t p = text.find("channel "); p != none; p = text.find("channel ", p + 1)) {
        ConfiguredChannel channel;
        const std::size_t nameEnd = quoted(text, after(text.find(" name", p)), channel.fullName);
        quoted(text, after(text.find(" unit", after(nameEnd))), channel.unit);
        splitChannelName(channel.fullName, channel.group, channel.name);
        channel.index = ++index;
        channels.push_back(std::move(channel));
    }
    return channels;
}
