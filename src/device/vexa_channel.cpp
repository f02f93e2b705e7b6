#include "device/vexa_channel.h"

#include <array>
#include <utility>

#include "output/output_channel.h"
#include "output/output_factory.h"
#include "serialization/node.h"
#include "serialization/node_values.h"

using Nerova::Utils::Serialization::Node;
using Nerova::Utils::Serialization::readNumber;
using Nerova::Utils::Serialization::readText;
using Nerova::Utils::Serialization::writeNumber;
using Nerova::Utils::Serialization::writeText;

namespace {

// Keys of a channel's stored "Channel" node.
constexpr char kPositionKey[] = "VexaChannelPosition";
constexpr char kHostName[] = "VexaNvChannelName";
constexpr char kOutputKey[] = "NvChannelId";

// Neighbouring channels get clearly different colours; the list repeats
// after its last entry. Two neighbours share a colour: that is the table
// stored setups were made with, so it stays.
constexpr std::array<std::uint32_t, 61> kPalette = {
    0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0x0000FF, 0x008080, 0x808000, 0x008000, 0x8080FF,
    0xFF80FF, 0x00FF80, 0x80FFFF, 0xD6DAD6, 0xB1AB81, 0xC763CF, 0x92CD65, 0xEFE743, 0xD5D55E,
    0xC93A95, 0x9C9AF1, 0xA6E6AF, 0xEBADA0, 0xB9CA55, 0xE6E613, 0xCBCB10, 0x8A73EA, 0xEE042E,
    0xD25E4D, 0xA29F9F, 0x6273C6, 0x7C02AA, 0x7C02AA, 0xEDFFBD, 0xFFFFFF, 0xE30D5E, 0x618D8F,
    0xAAE421, 0xD3492C, 0xB305BC, 0xBE032E, 0xF0FD93, 0x586402, 0x5141BC, 0x93A240, 0x696565,
    0x1570B3, 0xCBDB02, 0xF3FE21, 0x9AB040, 0xDFFF8C, 0xFE8B9A, 0x4D6F71, 0xFE495B, 0x9A0733,
    0x3DDA01, 0xD20D02, 0x2E8574, 0xA0413F, 0x707072, 0xFFFF00, 0xC0C0C0};

}  // namespace

std::uint32_t channelColour(std::uint32_t index) noexcept {
    // Unsigned wrap-around keeps index 0 inside the table as well.
    return kPalette[(index - 1u) % kPalette.size()];
}

VexaChannel::VexaChannel(OutputFactory* outputFactory, VexaChannelInfo info)
    : outputFactory_(outputFactory), info_(std::move(info)) {}

VexaChannel::~VexaChannel() {
    try {
        releaseOutput();
    } catch (...) {
        // The host may already have let go of the channel; a destructor has
        // nobody to tell.
    }
}

void VexaChannel::createOutput(Nerova::Utils::Ncom::OutputChannel::OutputChannelKey key) {
    output_ = outputFactory_->getOutputChannel(key, info_.outputType, nullptr);
    output_->setName(info_.hostName);
    output_->setUnit(info_.unit);
    output_->setOutputParameter(static_cast<std::int32_t>(info_.outputParameter));
    output_->setColor(info_.colour);
}

// A removal the host refuses leaves the output channel attached and in its
// factory, so the channel keeps it and a later release tries again; a
// channel without its output would leave the factory an entry that only a
// setup load's clearing drops, while the host channel stays in the host.
void VexaChannel::releaseOutput() {
    if (!output_) return;
    outputFactory_->removeOutputChannel(output_);
    output_.reset();
}

std::uint32_t VexaChannel::storedPosition(const Node& node) {
    return readNumber<std::uint32_t>(node, kPositionKey, kNewOutput);
}

void VexaChannel::saveSetup(Node& node) const {
    writeNumber(node, kPositionKey, info_.index);
    writeText(node, kHostName, info_.hostName);
    if (output_) writeNumber(node, kOutputKey, output_->getKey());
}

void VexaChannel::loadSetup(const Node& node) {
    info_.hostName = readText(node, kHostName);
    createOutput(readNumber<std::uint32_t>(node, kOutputKey, kNewOutput));
}

void VexaChannel::resetToDeviceName() {
    info_.hostName = info_.deviceName;
    if (output_) output_->setName(info_.deviceName);
    createOutput(kNewOutput);
}
