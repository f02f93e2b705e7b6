#include "plugin/plugin_core.h"

#include "platform/com_error.h"
#include "platform/guid.h"
#include "log/logging.h"
#include "contract/plugin_interfaces.h"
#include "serialization/node.h"
#include "ui/analysis_window.h"
#include "ui/settings_window.h"
#include "ui/setup_window.h"

namespace {

// The data model item that offers the plug-in's channel group.
constexpr LONG channelGroupItem = 8;
// The host folder that holds the plug-in's log file.
constexpr LONG logFolderKind = 1;
constexpr char logFileName[] = "VexaLog.txt";

vexa::ComPtr<HostChannelGroup> channelGroupOf(HostApp& app) {
    vexa::ComPtr<HostData> data;
    vexa::checkCall(app.GetData(data.put()), &app);
    vexa::ComPtr<HostDataModel> model;
    vexa::checkCall(vexa::required(data)->GetModel(model.put()), data.get());
    vexa::ComPtr<IUnknown> item;
    vexa::checkCall(vexa::required(model)->GetItem(channelGroupItem, item.put()), model.get());
    // An item without the channel group answers E_POINTER like every host
    // object the plug-in needs and does not get, not E_NOINTERFACE: hosts
    // and tests see the same answer whichever link of the chain is missing.
    vexa::required(item);
    vexa::ComPtr<HostChannelGroup> group = item.tryQuery<HostChannelGroup>();
    vexa::required(group);
    return group;
}

// The log path goes through the narrow code page on its way to the logger,
// so characters outside it do not survive.
std::string logFilePath(HostApp& app) {
    vexa::Bstr folder;
    vexa::checkCall(app.GetFolder(logFolderKind, folder.put()), &app);
    vexa::WideString path(folder.view());
    path += vexa::utf8ToWide(logFileName);
    return vexa::wideToNarrow(path);
}

}  // namespace

PluginCore::PluginCore()
    : devices(&outputFactory), failureReport_([this](std::string_view message) { reportError(message); }) {}

PluginCore::~PluginCore() {
    analysisWindow.reset();
    settingsWindow.reset();
    setupWindow.reset();
}

void PluginCore::bindHost(const vexa::ComPtr<HostApp>& hostApp) {
    HostApp& host = *vexa::required(hostApp);
    vexa::ComPtr<HostChannelGroup> channelGroup = channelGroupOf(host);
    auto id = std::make_shared<const vexa::Bstr>(vexa::guidToString(CLSID_VexaPlugin));
    app = hostApp;
    pluginId = id;
    group = std::move(channelGroup);
    outputFactory.setHost(app, pluginId, group.get());
    initLogging(logFilePath(host));
}

void PluginCore::reportError(std::string_view text) {
    HostApp* host = vexa::required(app);
    vexa::Bstr message(text);
    vexa::checkCall(host->ReportError(message.get()), host);
}

void PluginCore::prepareAcquisition() {
    devices.prepareAcquisition();
}

void PluginCore::startAcquisition() {
    // The channels choose their way into the host with the devices already
    // running.
    devices.startAcquisition(failureReport());
    outputFactory.refreshAddData();
}

void PluginCore::stopAcquisition() {
    devices.stopAcquisition(failureReport());
}

void PluginCore::readData() {
    HostApp* host = vexa::required(app);
    vexa::ComPtr<HostTimeSource> clock;
    vexa::checkCall(host->GetTimeSource(clock.put()), host);
    DOUBLE hostTime = 0.0;
    vexa::checkCall(vexa::required(clock)->GetTime(&hostTime), clock.get());
    // Every device is given the same host time for this step.
    devices.readMeasurements(hostTime, failureReport());
    clock.reset();
    outputFactory.alignBufferPositions();
}

void PluginCore::reconfigure() {
    devices.readSystemConfigs(failureReport());
}

void PluginCore::unbindChannels() {
    devices.unbindChannels();
    outputFactory.clearChannels();
}

namespace {

// The factory's setup-load bracket. It is closed even when reading the setup
// fails: an open bracket would refuse every later load.
class SetupLoad {
public:
    explicit SetupLoad(Nerova::Utils::Ncom::OutputChannel::OutputFactoryImpl& factory) : factory_(factory) {
        factory_.beginLoadSetup();
    }
    ~SetupLoad() {
        if (open_) {
            try {
                factory_.endLoadSetup();
            } catch (...) {
                // The failure that ended the load is the one that is reported.
            }
        }
    }
    SetupLoad(const SetupLoad&) = delete;
    SetupLoad& operator=(const SetupLoad&) = delete;

    void end() {
        open_ = false;
        factory_.endLoadSetup();
    }

private:
    Nerova::Utils::Ncom::OutputChannel::OutputFactoryImpl& factory_;
    bool open_ = true;
};

}  // namespace

void PluginCore::applySetup(Nerova::Utils::Serialization::Node& node) {
    SetupLoad load(outputFactory);
    if (node.isValid()) {
        outputFactory.loadSetup(node);
        // The channels take their output channels back from the factory's
        // freshly loaded list; what none takes back goes at the bracket's end.
        devices.loadSetup(node);
    } else {
        devices.resetSetup();
    }
    load.end();
}

HRESULT PluginCore::saveOrLoadSetup(Nerova::Utils::Serialization::Node& node) {
    if (node.isValid() && node.isWriting()) {
        // The factory's list first: loading restores it before the devices
        // look their keys up in it.
        outputFactory.saveSetup(node);
        devices.saveSetup(node);
        return S_OK;
    }
    // A document to write without an element to write into.
    if (node.isWriting()) return S_FALSE;
    unbindChannels();
    applySetup(node);
    return S_OK;
}

void PluginCore::serializeSettings(Nerova::Utils::Serialization::Node& node) {
    if (node.isValid()) devices.serializeSettings(node);
}
