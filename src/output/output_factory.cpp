#include "output/output_factory.h"

#include <stdexcept>

#include "platform/com_error.h"

namespace Nerova::Utils::Ncom::OutputChannel {

namespace {
constexpr const char* loadBracketMessage =
    "OutputFactory: beginLoadSetup and endLoadSetup not called correctly at start and end of "
    "onLoadSetup event.";
}  // namespace

void OutputFactoryImpl::setHost(vexa::ComPtr<HostApp> app, std::shared_ptr<const vexa::HostString> pluginId,
                                HostChannelGroup* group) {
    app_ = std::move(app);
    pluginId_ = std::move(pluginId);
    group_ = group;
}

// The factory holds no channels yet, so the channel operations below have
// nothing to act on.
void OutputFactoryImpl::removeOutputChannel(const std::shared_ptr<OutputChannel>& /*channel*/) {}
void OutputFactoryImpl::refreshAddData() {}
void OutputFactoryImpl::alignBufferPositions() {}
void OutputFactoryImpl::detachAllHostChannels() {}
void OutputFactoryImpl::clearChannels() {}
void OutputFactoryImpl::saveSetup(Serialization::Node& /*node*/) {}

void OutputFactoryImpl::failLoadBracket() {
    HostApp* app = vexa::required(app_);
    vexa::HostString text(loadBracketMessage);
    vexa::checkCall(app->ReportError(text.get()), app);
    throw std::runtime_error(loadBracketMessage);
}

void OutputFactoryImpl::beginLoadSetup() {
    if (mode_ != Mode::Normal) failLoadBracket();
    mode_ = Mode::Loading;
}

void OutputFactoryImpl::loadSetup(Serialization::Node& /*node*/) {
    if (mode_ != Mode::Loading) failLoadBracket();
}

void OutputFactoryImpl::endLoadSetup() {
    if (mode_ != Mode::Loading) failLoadBracket();
    mode_ = Mode::Normal;
}

}  // namespace Nerova::Utils::Ncom::OutputChannel
