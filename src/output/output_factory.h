// The one place through which the plug-in's output channels reach the host.
// This is the factory's frame: it is bound to the host and keeps the setup
// load bracket; it creates no channels yet, so the channel operations find
// nothing to act on.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/com_ptr.h"
#include "platform/host_string.h"
#include "plugin/host_app.h"
#include "plugin/host_data.h"

namespace Nerova::Utils::Serialization {
class Node;
}

namespace Nerova::Utils::Ncom::OutputChannel {

class OutputChannel;

// What the device link sees of the factory.
class OutputFactory {
public:
    virtual ~OutputFactory() = default;

    // Removes the channel and its host channel.
    virtual void removeOutputChannel(const std::shared_ptr<OutputChannel>& channel) = 0;

protected:
    OutputFactory() = default;
    OutputFactory(const OutputFactory&) = default;
    OutputFactory& operator=(const OutputFactory&) = default;
};

class OutputFactoryImpl final : public OutputFactory {
public:
    OutputFactoryImpl() = default;
    OutputFactoryImpl(const OutputFactoryImpl&) = delete;
    OutputFactoryImpl& operator=(const OutputFactoryImpl&) = delete;

    // The application reference is counted; the group is not (its owner
    // outlives the factory).
    void setHost(vexa::ComPtr<HostApp> app, std::shared_ptr<const vexa::HostString> pluginId,
                 HostChannelGroup* group);

    void removeOutputChannel(const std::shared_ptr<OutputChannel>& channel) override;

    void refreshAddData();
    void alignBufferPositions();
    void detachAllHostChannels();
    void clearChannels();

    // The host's setup load is bracketed by beginLoadSetup and endLoadSetup;
    // a call out of turn is reported to the host and throws
    // std::runtime_error, leaving the state as it was.
    void beginLoadSetup();
    void loadSetup(Serialization::Node& node);
    void endLoadSetup();
    void saveSetup(Serialization::Node& node);

private:
    [[noreturn]] void failLoadBracket();

    enum class Mode : std::int32_t { Loading = 0, Normal = 1 };

    vexa::ComPtr<HostApp> app_;
    HostChannelGroup* group_ = nullptr;
    std::shared_ptr<const vexa::HostString> pluginId_;
    Mode mode_ = Mode::Normal;
};

}  // namespace Nerova::Utils::Ncom::OutputChannel
