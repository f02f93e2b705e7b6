// The one place through which the plug-in creates, finds, removes, stores
// and restores its output channels in the host. Every host channel it
// makes belongs to the plug-in's channel group and carries the channel's
// key as its identifier there.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "output/output_channel_impl.h"
#include "output/output_types.h"
#include "platform/com_ptr.h"
#include "platform/bstr.h"
#include "contract/host_app.h"
#include "contract/host_data.h"

namespace Nerova::Utils::Serialization {
class Node;
}

namespace Nerova::Utils::Ncom::OutputChannel {

// Called with every channel the factory creates, before the host hears of
// it; may be empty.
using ChannelCreated = std::function<void(const std::shared_ptr<OutputChannel>&)>;

// What the device link sees of the factory.
class OutputFactory {
public:
    virtual ~OutputFactory() = default;

    virtual std::shared_ptr<OutputChannel> createOutputChannel(const OutputChannelType& type,
                                                               const ChannelCreated& onCreated) = 0;
    // The channel with that key (set to `type` unless the host keeps its
    // channels); a key the factory does not hold gives a new channel with
    // a new key.
    virtual std::shared_ptr<OutputChannel> getOutputChannel(OutputChannelKey key, const OutputChannelType& type,
                                                            const ChannelCreated& onCreated) = 0;
    // Removes the channel and its host channel.
    virtual void removeOutputChannel(const std::shared_ptr<OutputChannel>& channel) = 0;
    virtual void groupOutputChannels(const std::vector<std::int32_t>& keys, const std::string& text) = 0;
    // Between a begin and its end the host hears of added and removed
    // channels once, at the outermost end.
    virtual void beginMultipleMount() = 0;
    // Returns the new depth; an end without a begin throws
    // std::runtime_error.
    virtual std::int32_t endMultipleMount() = 0;

protected:
    OutputFactory() = default;
    OutputFactory(const OutputFactory&) = default;
    OutputFactory& operator=(const OutputFactory&) = default;
};

struct ChannelEntry {
    OutputChannelKey key;
    std::shared_ptr<OutputChannelImpl> channel;
};

class OutputFactoryImpl final : public OutputFactory {
public:
    OutputFactoryImpl();
    OutputFactoryImpl(const OutputFactoryImpl&) = delete;
    OutputFactoryImpl& operator=(const OutputFactoryImpl&) = delete;

    // The application reference is counted; the group is not (its owner
    // outlives the factory).
    void setHost(vexa::ComPtr<HostApp> app, std::shared_ptr<const vexa::Bstr> pluginId,
                 HostChannelGroup* group);

    std::shared_ptr<OutputChannel> createOutputChannel(const OutputChannelType& type,
                                                       const ChannelCreated& onCreated) override;
    std::shared_ptr<OutputChannel> getOutputChannel(OutputChannelKey key, const OutputChannelType& type,
                                                    const ChannelCreated& onCreated) override;
    void removeOutputChannel(const std::shared_ptr<OutputChannel>& channel) override;
    void groupOutputChannels(const std::vector<std::int32_t>& keys, const std::string& text) override;
    void beginMultipleMount() override;
    std::int32_t endMultipleMount() override;

    // Lets every channel choose its add-data strategy again.
    void refreshAddData();
    // Tells the synchronous channels where the host's acquisition stands.
    void alignBufferPositions();
    void detachAllHostChannels();
    // Forgets every channel (their host channels stay in the host) and
    // starts the palette again.
    void clearChannels();

    // The host's setup load is bracketed by beginLoadSetup and endLoadSetup;
    // a call out of turn is reported to the host and throws
    // std::runtime_error, leaving the state as it was. Without a host the
    // bracket raises E_POINTER. endLoadSetup removes the loaded channels
    // that nobody took up; loadSetup passes over outputs whose "Id" is
    // missing or not a key.
    void beginLoadSetup();
    void loadSetup(Serialization::Node& node);
    void endLoadSetup();
    void saveSetup(Serialization::Node& node);

    // Has the host read the plug-in's channels again, now or, inside a
    // mount bracket, at its end; never while a setup is loading.
    void mountChannels();

    const std::vector<ChannelEntry>& entries() const noexcept { return entries_; }
    std::uint64_t colorCounter() const noexcept { return colorCounter_; }
    bool isLoadingSetup() const noexcept { return mode_ == Mode::Loading; }

private:
    enum class Mode : std::int32_t { Loading = 0, Normal = 1 };

    [[noreturn]] void failLoadBracket();
    vexa::ComPtr<HostData> hostData() const;
    bool retainChannels() const;
    BSTR pluginId() const noexcept;
    // Appends an entry under the smallest free key.
    OutputChannelKey allocateKey();
    void rebuildIndex();
    // Removes the entry and its host channel.
    void removeEntryAt(std::size_t position);
    vexa::ComPtr<HostChannel> createHostChannel(OutputChannelKey key, const OutputChannelType& type);
    void loadOutput(Serialization::Node& output);

    vexa::ComPtr<HostApp> app_;
    HostChannelGroup* group_ = nullptr;
    std::shared_ptr<const vexa::Bstr> pluginId_;
    std::uint64_t colorCounter_ = 0;
    Mode mode_ = Mode::Normal;
    std::int32_t mountDepth_ = 0;
    bool mountPending_ = false;
    OutputChannelKey nextKey_ = 0;
    OutputChannelKey keyStep_ = 1;
    std::vector<ChannelEntry> entries_;
    std::unordered_map<OutputChannelKey, std::size_t> index_;
};

// Sets the host channel's data type and kind flags.
void configureType(HostChannel* channel, const OutputChannelType& type);

}  // namespace Nerova::Utils::Ncom::OutputChannel
