#include "output/output_factory.h"

#include <array>
#include <limits>
#include <optional>
#include <stdexcept>

#include "platform/variant.h"
#include "platform/com_call.h"
#include "serialization/node.h"
#include "serialization/node_values.h"

namespace Nerova::Utils::Ncom::OutputChannel {

using Serialization::Node;
using Serialization::NodePtr;

namespace {

constexpr const char* loadBracketMessage =
    "OutputFactory: beginLoadSetup and endLoadSetup not called correctly at start and end of "
    "onLoadSetup event.";

// The colours new channels get, in turn; the host takes them as they are.
constexpr std::array<std::uint32_t, 64> palette{
    0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0xFF7000, 0x808000, 0x008080, 0x008000, 0xFF8080, 0xFF80FF, 0x80FF00,
    0xFFFF80, 0xD6DAD6, 0x81ABB1, 0xCF63C7, 0x65CD92, 0x43E7EF, 0x5ED5D5, 0x953AC9, 0xF19A9C, 0xAFE6A6, 0xA0ADEB,
    0x55CAB9, 0x13E6E6, 0x10CBCB, 0xEA738A, 0x2E04EE, 0x4D5ED2, 0x9F9FA2, 0xC67362, 0xC67362, 0xAA027C, 0x38AA02,
    0xBDFFED, 0xFFFFFF, 0x5E0DE3, 0x8F8D61, 0x21E4AA, 0x2C49D3, 0xBC05B3, 0x2E03BE, 0x93FDF0, 0x026458, 0xBC4151,
    0x40A293, 0x656569, 0xB37015, 0x02DBCB, 0x21FEF3, 0x40B09A, 0x8CFFDF, 0x9A8BFE, 0x716F4D, 0x5B49FE, 0x33079A,
    0x01DA3D, 0x020DD2, 0x74852E, 0x3F41A0, 0x727070, 0x00FFFF, 0xC0C0C0, 0xA828C8, 0x02549D};

constexpr const char* outputListElement = "OutputList";
constexpr const char* outputElement = "Output";
constexpr const char* idAttribute = "Id";

// Takes a half-made entry out again unless the making finishes.
class EntryRollback {
public:
    EntryRollback(std::vector<ChannelEntry>& entries, std::function<void()> rebuild)
        : entries_(entries), rebuild_(std::move(rebuild)), size_(entries.size()) {}
    ~EntryRollback() {
        if (armed_ && entries_.size() == size_) {
            entries_.pop_back();
            rebuild_();
        }
    }
    EntryRollback(const EntryRollback&) = delete;
    EntryRollback& operator=(const EntryRollback&) = delete;
    void dismiss() noexcept { armed_ = false; }

private:
    std::vector<ChannelEntry>& entries_;
    std::function<void()> rebuild_;
    std::size_t size_;
    bool armed_ = true;
};

// Takes a host channel made for an entry that is not finished out of the
// group again: the host must not keep a channel the factory does not know,
// whose identifier it would hold as taken.
class HostChannelRollback {
public:
    HostChannelRollback(HostChannelGroup* group, vexa::ComPtr<HostChannel> channel) noexcept
        : group_(group), channel_(std::move(channel)) {}
    ~HostChannelRollback() {
        // The failure that stopped the making is the one that counts.
        if (group_ != nullptr && channel_) (void)group_->RemoveChannel(channel_.get());
    }
    HostChannelRollback(const HostChannelRollback&) = delete;
    HostChannelRollback& operator=(const HostChannelRollback&) = delete;
    void dismiss() noexcept { channel_.reset(); }

private:
    HostChannelGroup* group_;
    vexa::ComPtr<HostChannel> channel_;
};

// The key an output is stored under: its "Id" as a whole unsigned decimal
// number that fits a key. An output without one is passed over, so that one
// damaged entry does not cost the setup every other channel.
std::optional<OutputChannelKey> storedKey(const Node& output) {
    const NodePtr id = output.findAttribute(idAttribute);
    if (!id) return std::nullopt;
    const std::string text = id->text();
    std::uint64_t number = 0;
    try {
        number = Serialization::parseUnsigned(text);
    } catch (const Serialization::XmlException&) {
        return std::nullopt;
    }
    if (number > std::numeric_limits<OutputChannelKey>::max()) return std::nullopt;
    return static_cast<OutputChannelKey>(number);
}

}  // namespace

void configureType(HostChannel* channel, const OutputChannelType& type) {
    vexa::callSet(channel, &HostChannel::SetDataType, static_cast<LONG>(type.dataType));
    bool asynchronous = false;
    bool singleValue = false;
    switch (static_cast<OutputChannelKind>(type.kind)) {
    case OutputChannelKind::Synchronous: break;
    case OutputChannelKind::Asynchronous: asynchronous = true; break;
    case OutputChannelKind::SingleValue: singleValue = true; break;
    default: return;  // a kind the host does not know: only the type is set
    }
    vexa::callSet(channel, &HostChannel::SetAsynchronousFlag, vexa::toVariantBool(asynchronous));
    vexa::callSet(channel, &HostChannel::SetSingleValueFlag, vexa::toVariantBool(singleValue));
}

OutputFactoryImpl::OutputFactoryImpl() {
    index_.max_load_factor(1.0F);
    index_.rehash(8);
}

void OutputFactoryImpl::setHost(vexa::ComPtr<HostApp> app, std::shared_ptr<const vexa::Bstr> pluginId,
                                HostChannelGroup* group) {
    app_ = std::move(app);
    pluginId_ = std::move(pluginId);
    group_ = group;
}

vexa::ComPtr<HostData> OutputFactoryImpl::hostData() const {
    vexa::ComPtr<HostData> data = vexa::callGetObject(app_.get(), &HostApp::GetData);
    vexa::required(data);
    return data;
}

bool OutputFactoryImpl::retainChannels() const {
    return vexa::callGet(hostData().get(), &HostData::GetRetainChannels) != VARIANT_FALSE;
}

BSTR OutputFactoryImpl::pluginId() const noexcept { return pluginId_ ? pluginId_->get() : nullptr; }

void OutputFactoryImpl::rebuildIndex() {
    index_.clear();
    for (std::size_t i = 0; i < entries_.size(); ++i) index_.emplace(entries_[i].key, i);
}

OutputChannelKey OutputFactoryImpl::allocateKey() {
    OutputChannelKey key = nextKey_;
    while (index_.contains(key)) key += keyStep_;
    entries_.push_back({key, nullptr});
    rebuildIndex();
    return key;
}

vexa::ComPtr<HostChannel> OutputFactoryImpl::createHostChannel(OutputChannelKey key, const OutputChannelType& type) {
    HostChannelGroup* group = vexa::required(group_);
    const std::int32_t id = static_cast<std::int32_t>(key);
    vexa::Variant ids = vexa::Variant::ofInt32Array({&id, 1});
    vexa::ComPtr<HostChannel> channel;
    vexa::checkCall(group->CreateChannels(pluginId(), 1, ids.get(), channel.put()), group);
    HostChannelRollback made(group, vexa::ComPtr<HostChannel>(vexa::required(channel)));
    configureType(channel.get(), type);
    vexa::callSet(channel.get(), &HostChannel::SetUsed, VARIANT_TRUE);
    if (retainChannels()) {
        const vexa::ComPtr<HostChannelControl> control = channel.query<HostChannelControl>();
        vexa::checkCall(control->MarkRetained(), control.get());
    }
    made.dismiss();
    return channel;
}

std::shared_ptr<OutputChannel> OutputFactoryImpl::createOutputChannel(const OutputChannelType& type,
                                                                      const ChannelCreated& onCreated) {
    const OutputChannelKey key = allocateKey();
    EntryRollback rollback(entries_, [this] { rebuildIndex(); });
    auto channel = std::make_shared<OutputChannelImpl>(this, app_);
    entries_.back().channel = channel;
    channel->setKey(key);
    vexa::ComPtr<HostChannel> hostChannel = createHostChannel(key, type);
    HostChannelRollback made(group_, hostChannel);
    channel->setHostChannel(std::move(hostChannel));
    channel->setHostColor(palette[colorCounter_ % palette.size()]);
    ++colorCounter_;
    made.dismiss();
    rollback.dismiss();

    std::shared_ptr<OutputChannel> result = channel;
    if (onCreated) onCreated(result);
    if (mode_ == Mode::Normal) {
        if (!retainChannels()) channel->activate();
    } else if (retainChannels()) {
        channel->setUsed(false);
    }
    mountChannels();
    return result;
}

std::shared_ptr<OutputChannel> OutputFactoryImpl::getOutputChannel(OutputChannelKey key,
                                                                   const OutputChannelType& type,
                                                                   const ChannelCreated& onCreated) {
    const auto found = index_.find(key);
    if (found == index_.end()) return createOutputChannel(type, onCreated);
    const std::shared_ptr<OutputChannelImpl>& channel = entries_[found->second].channel;
    if (!retainChannels() && channel->getType() != type) configureType(channel->hostChannel().get(), type);
    return channel;
}

// The host channel goes from the host before the channel lets go of it
// (detaching calls nothing in the host): a removal the host refuses leaves
// the entry as it was, attached, and a later removal can try again.
void OutputFactoryImpl::removeEntryAt(std::size_t position) {
    const std::shared_ptr<OutputChannelImpl> channel = entries_[position].channel;
    const bool hadHostChannel = channel && channel->hostChannel();
    if (hadHostChannel) {
        HostChannelGroup* group = vexa::required(group_);
        vexa::checkCall(group->RemoveChannel(channel->hostChannel().get()), group);
        channel->setHostChannel(nullptr);
    }
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(position));
    rebuildIndex();
    if (hadHostChannel) mountChannels();
}

void OutputFactoryImpl::removeOutputChannel(const std::shared_ptr<OutputChannel>& channel) {
    if (!channel) return;
    const auto found = index_.find(channel->getKey());
    if (found != index_.end()) removeEntryAt(found->second);
}

void OutputFactoryImpl::groupOutputChannels(const std::vector<std::int32_t>& keys, const std::string& text) {
    HostChannelGroup* group = vexa::required(group_);
    vexa::Variant array = vexa::Variant::ofInt32Array(keys);
    vexa::Bstr hostText(text);
    vexa::checkCall(group->GroupChannels(pluginId(), static_cast<LONG>(keys.size()), array.get(), hostText.get()),
                    group);
}

void OutputFactoryImpl::beginMultipleMount() { ++mountDepth_; }

std::int32_t OutputFactoryImpl::endMultipleMount() {
    --mountDepth_;
    if (mountPending_) mountChannels();
    if (mountDepth_ < 0) throw std::runtime_error("endMultipleMount called too many times");
    return mountDepth_;
}

void OutputFactoryImpl::mountChannels() {
    if (mountDepth_ != 0) {
        mountPending_ = true;
        return;
    }
    if (mode_ == Mode::Normal) {
        const vexa::ComPtr<HostData> data = hostData();
        vexa::checkCall(data->RefreshPluginChannels(), data.get());
    }
    mountPending_ = false;
}

void OutputFactoryImpl::refreshAddData() {
    for (const ChannelEntry& entry : entries_)
        if (entry.channel) entry.channel->refreshAddData();
}

// Channels without a host channel have no buffer to align.
void OutputFactoryImpl::alignBufferPositions() {
    const vexa::ComPtr<HostData> data = hostData();
    const LONG blockCount = vexa::callGet(data.get(), &HostData::GetBlockCount);
    LONGLONG blockSize = 0;
    LONGLONG offset = 0;
    vexa::checkCall(data->GetBlockGeometry(&blockSize, &offset), data.get());
    const std::int64_t position = std::int64_t{blockCount} * blockSize + offset;
    for (const ChannelEntry& entry : entries_)
        if (entry.channel && entry.channel->hostChannel()) entry.channel->alignBufferPosition(position);
}

void OutputFactoryImpl::detachAllHostChannels() {
    for (const ChannelEntry& entry : entries_)
        if (entry.channel) entry.channel->setHostChannel(nullptr);
}

void OutputFactoryImpl::clearChannels() {
    colorCounter_ = 0;
    index_.clear();
    entries_.clear();
}

// ---- setup ----

void OutputFactoryImpl::failLoadBracket() {
    HostApp* host = vexa::required(app_);
    vexa::Bstr text(loadBracketMessage);
    vexa::checkCall(host->ReportError(text.get()), host);
    throw std::runtime_error(loadBracketMessage);
}

// The bracket is checked for a host first: its end asks the host which
// channels stay, and a load that could open without a host could never
// close again.
void OutputFactoryImpl::beginLoadSetup() {
    vexa::required(app_);
    if (mode_ != Mode::Normal) failLoadBracket();
    mode_ = Mode::Loading;
}

// Loaded channels that no device took up go again, unless the host keeps
// its channels anyway.
void OutputFactoryImpl::endLoadSetup() {
    vexa::required(app_);
    if (mode_ != Mode::Loading) failLoadBracket();
    // The bracket closes even when the host fails a call of the pruning: a
    // load left open would refuse every later one. The removals still see
    // the load, so they notify the host of nothing.
    struct CloseBracket {
        Mode& mode;
        ~CloseBracket() { mode = Mode::Normal; }
    } closeBracket{mode_};
    if (!retainChannels()) {
        for (std::size_t i = 0; i < entries_.size();) {
            if (entries_[i].channel.use_count() == 1) removeEntryAt(i);
            else ++i;
        }
    }
}

void OutputFactoryImpl::saveSetup(Node& node) {
    NodePtr list = node.addChild(outputListElement);
    list->addAttribute("Version", "1");
    Serialization::writeNumber(*list, "ColorCounter", colorCounter_);
    for (const ChannelEntry& entry : entries_) {
        NodePtr output = list->addChild(outputElement);
        output->addAttribute(idAttribute, Serialization::decimalText(std::uint64_t{entry.key}));
        if (entry.channel) entry.channel->saveSetup(*output);
    }
}

void OutputFactoryImpl::loadSetup(Node& node) {
    if (mode_ != Mode::Loading) failLoadBracket();
    const NodePtr list = node.findChild(outputListElement);
    if (!list) return;
    colorCounter_ = Serialization::readNumber<std::uint64_t>(*list, "ColorCounter", 0);
    const std::uint32_t count = list->childCount();
    for (std::uint32_t i = 0; i < count; ++i) {
        if (const NodePtr output = list->childAt(i)) loadOutput(*output);
    }
}

void OutputFactoryImpl::loadOutput(Node& output) {
    if (output.name() != outputElement) return;
    const std::optional<OutputChannelKey> stored = storedKey(output);
    if (!stored) return;
    const OutputChannelKey key = *stored;
    if (index_.contains(key)) return;  // the first output with a key wins

    entries_.push_back({key, nullptr});
    rebuildIndex();
    EntryRollback rollback(entries_, [this] { rebuildIndex(); });
    auto channel = std::make_shared<OutputChannelImpl>(this, app_);
    entries_.back().channel = channel;

    vexa::ComPtr<HostChannel> hostChannel;
    bool madeHere = false;
    if (retainChannels()) {
        if (const NodePtr settings = output.findChild("OutputChannel")) {
            vexa::Variant path = vexa::Variant::ofInt32Array(Serialization::textToList(Serialization::readText(*settings, "Index")));
            const vexa::ComPtr<HostData> data = hostData();
            vexa::checkCall(data->FindChannel(path.get(), hostChannel.put()), data.get());
        }
    }
    if (!hostChannel) {
        hostChannel = createHostChannel(key, timedDoubleChannel);
        madeHere = true;
    }
    // A retained host channel stays the host's whatever happens here.
    HostChannelRollback made(group_, madeHere ? hostChannel : nullptr);
    channel->loadSetup(output, key, std::move(hostChannel));
    made.dismiss();
    rollback.dismiss();
}

}  // namespace Nerova::Utils::Ncom::OutputChannel
