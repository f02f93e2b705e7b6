// The plug-in's shared state: the host references, the windows, the output
// factory and the devices. The settings and setup windows keep a pointer to
// the device list and use it directly; everything runs on the host's
// calling thread.
#pragma once

#include <memory>
#include <string_view>

#include "device/device_list.h"
#include "output/output_factory.h"
#include "platform/com_ptr.h"
#include "platform/bstr.h"
#include "contract/host_app.h"
#include "contract/host_data.h"

class SetupWindow;
class SettingsWindow;
class AnalysisWindow;

namespace Nerova::Utils::Serialization {
class Node;
}

class PluginCore {
public:
    PluginCore();
    ~PluginCore();
    PluginCore(const PluginCore&) = delete;
    PluginCore& operator=(const PluginCore&) = delete;

    // Binds the plug-in to the host: the channel group, the plug-in
    // identifier, the output factory and the log file. A missing host object
    // anywhere on the way raises E_POINTER.
    void bindHost(const vexa::ComPtr<HostApp>& hostApp);

    void prepareAcquisition();
    void startAcquisition();
    void stopAcquisition();
    void readData();
    void reconfigure();

    void unbindChannels();
    // Brackets the output factory's setup load around `node`.
    void applySetup(Nerova::Utils::Serialization::Node& node);
    // Saves into a writing node, otherwise loads from it. S_FALSE for a
    // writing node without an element.
    HRESULT saveOrLoadSetup(Nerova::Utils::Serialization::Node& node);
    void serializeSettings(Nerova::Utils::Serialization::Node& node);

    // Hands the text to the host; a failing host call raises its COM error.
    void reportError(std::string_view text);

    // Hands a failing device's message to the host.
    const DeviceList::FailureReport& failureReport() const noexcept { return failureReport_; }

    // In this order: members are destroyed from the last to the first, so
    // the devices go before the factory they use and everything before the
    // host references. The windows are the exception: a window may hold a
    // device whose channels still need the factory, so the destructor drops
    // them first.
    vexa::ComPtr<HostApp> app;
    std::unique_ptr<SetupWindow> setupWindow;
    std::unique_ptr<SettingsWindow> settingsWindow;
    std::unique_ptr<AnalysisWindow> analysisWindow;
    std::shared_ptr<const vexa::Bstr> pluginId;
    vexa::ComPtr<HostChannelGroup> group;
    Nerova::Utils::Ncom::OutputChannel::OutputFactoryImpl outputFactory;
    DeviceList devices;

private:
    // Made once: a data step hands it on and must not allocate.
    DeviceList::FailureReport failureReport_;
};
