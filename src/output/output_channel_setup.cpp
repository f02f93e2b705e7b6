// Attaching the host channel, the channel's part of the setup and the
// alignment of synchronous buffers.
#include "output/output_channel_impl.h"
#include "output/output_factory.h"
#include "platform/variant.h"
#include "platform/com_call.h"
#include "serialization/nerova_ncom_node.h"
#include "serialization/node_values.h"
#include "serialization/xml_exception.h"

namespace Nerova::Utils::Ncom::OutputChannel {

using Serialization::Node;

namespace {

constexpr const char* automaticNameValue = "IsAutomaticName";
constexpr const char* automaticUnitValue = "IsAutomaticUnit";
constexpr const char* automaticColorValue = "IsAutomaticColor";

// Written into the "Output" element by the host channel itself.
constexpr const char* hostSettingsElement = "OutputChannel";
constexpr const char* indexPathValue = "Index";

// The host channel reads and writes its settings through the host's own
// document, so only nodes over a host document can carry them.
const Utils::NerovaNCOMNode& hostNode(const Node& node) {
    const auto* hosted = dynamic_cast<const Utils::NerovaNCOMNode*>(&node);
    if (hosted == nullptr || !hosted->document())
        throw Serialization::XmlException(Serialization::XmlExceptionCode::DocumentNotSet);
    if (!hosted->element()) throw Serialization::XmlException(Serialization::XmlExceptionCode::ElementNotSet);
    return *hosted;
}

}  // namespace

void OutputChannelImpl::setHostChannel(vexa::ComPtr<HostChannel> channel) {
    if (!(channel == hostChannel_)) hostChannel_ = std::move(channel);
    if (hostChannel_) {
        setHostName(automaticName_);
        setHostUnit(automaticUnit_);
        setHostColor(automaticColor_);
        properties_.bind(vexa::callGetObject(hostChannel_.get(), &HostChannel::GetProperties));
    } else {
        properties_.unbind();
    }
    refreshAddData();
}

void OutputChannelImpl::refreshAddData() { addData_ = makeAddData(app_.get(), hostChannel_); }

void OutputChannelImpl::activate() {
    host();
    vexa::callSet(hostChannel_.query<HostChannelControl>().get(), &HostChannelControl::Activate, VARIANT_TRUE);
}

// The host's buffer offset of a synchronous channel against the
// acquisition position, both counted in values around the ring buffer.
void OutputChannelImpl::alignBufferPosition(std::int64_t position) {
    if (getType().kind != static_cast<std::uint32_t>(OutputChannelKind::Synchronous)) return;
    HostChannel* channel = host();
    const std::int64_t written = vexa::callGet(channel, &HostChannel::GetWritePosition);
    const std::int64_t perSample = vexa::callGet(channel, &HostChannel::GetValuesPerSample);
    const std::int64_t length = vexa::callGet(channel, &HostChannel::GetBufferLength);
    const std::int64_t ring = length * perSample;
    if (ring <= 0) return;  // no buffer to align
    const std::int64_t wrapped = ((position % ring) + ring) % ring;
    std::int64_t offset = wrapped - written * perSample;
    if (offset < 0) offset += ring;
    vexa::callSet(channel, &HostChannel::SetBufferOffset, static_cast<LONG>(offset));
}

void OutputChannelImpl::serializeHostSettings(Node& node, bool saving) {
    const Utils::NerovaNCOMNode& hosted = hostNode(node);
    HostChannel* channel = host();
    vexa::Variant document = vexa::Variant::ofDispatch(hosted.document().get());
    vexa::Variant element = vexa::Variant::ofDispatch(hosted.element().get());
    vexa::checkCall(channel->SerializeSettings(document.get(), element.get(), vexa::toVariantBool(saving)), channel);
}

void OutputChannelImpl::saveSetup(Node& node) {
    Serialization::writeBool(node, automaticNameValue, isAutomaticName(), true);
    Serialization::writeBool(node, automaticUnitValue, isAutomaticUnit(), true);
    Serialization::writeBool(node, automaticColorValue, isAutomaticColor(), true);
    serializeHostSettings(node, true);
}

// A flag that is false keeps the automatic value the channel already has,
// so the user's value stays in the host and later automatic updates leave
// it alone.
void OutputChannelImpl::readSettings(Node& node) {
    const bool automaticName = Serialization::readBool(node, automaticNameValue, true);
    const bool automaticUnit = Serialization::readBool(node, automaticUnitValue, true);
    const bool automaticColor = Serialization::readBool(node, automaticColorValue, true);
    serializeHostSettings(node, false);
    if (automaticName) automaticName_ = getHostName();
    if (automaticUnit) automaticUnit_ = getHostUnit();
    if (automaticColor) automaticColor_ = getHostColor();
}

void OutputChannelImpl::loadSetup(Node& node, OutputChannelKey key, vexa::ComPtr<HostChannel> channel) {
    key_ = key;
    setHostChannel(std::move(channel));
    readSettings(node);
}

void OutputChannelImpl::refreshIndexPath(Node& node) {
    if (Serialization::NodePtr settings = node.findChild(hostSettingsElement)) {
        if (Serialization::NodePtr index = settings->findChild(indexPathValue)) index->setText(getIndexPath());
    }
    readSettings(node);
    activate();
    if (factory_ != nullptr) factory_->mountChannels();
}

}  // namespace Nerova::Utils::Ncom::OutputChannel
