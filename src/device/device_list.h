// The plug-in's devices in the user's order, and the output factory that
// every device the list creates is given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class VexaDevice;

namespace Nerova::Utils::Ncom::OutputChannel {
class OutputFactory;
}

class DeviceList {
public:
    using Devices = std::vector<std::shared_ptr<VexaDevice>>;
    // Tells the host that a device failed, with the failure's text.
    using FailureReport = std::function<void(std::string_view message)>;

    explicit DeviceList(Nerova::Utils::Ncom::OutputChannel::OutputFactory* outputFactory) noexcept;
    DeviceList(const DeviceList&) = delete;
    DeviceList& operator=(const DeviceList&) = delete;

    Devices::const_iterator begin() const noexcept { return devices_.begin(); }
    Devices::const_iterator end() const noexcept { return devices_.end(); }
    std::size_t size() const noexcept { return devices_.size(); }
    bool empty() const noexcept { return devices_.empty(); }

    Nerova::Utils::Ncom::OutputChannel::OutputFactory* outputFactory() const noexcept { return outputFactory_; }

    // Makes a device with the list's output factory and appends it, not yet
    // connected. For now this is how devices enter the list: the stored
    // settings and the settings window will come through here as well.
    std::shared_ptr<VexaDevice> add(std::string ipAddress, std::uint32_t port);

    // The steps of an acquisition, for every device in list order. A device
    // whose step fails is reported once, disconnected (so later steps pass
    // it by quietly) and the others go on.
    void prepareAcquisition();
    void startAcquisition(const FailureReport& report);
    void readMeasurements(double hostTime, const FailureReport& report);
    void stopAcquisition(const FailureReport& report);
    // The channel lists of every connected device, read again.
    void readSystemConfigs(const FailureReport& report);
    // Every channel of every device gives its output channel back.
    void unbindChannels();

private:
    template <class Step>
    void forEachDevice(const FailureReport& report, Step&& step);

    Devices devices_;
    Nerova::Utils::Ncom::OutputChannel::OutputFactory* outputFactory_;
};
