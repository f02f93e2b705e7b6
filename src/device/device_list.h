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

namespace Nerova::Utils::Serialization {
class Node;
}

class DeviceList {
public:
    using Devices = std::vector<std::shared_ptr<VexaDevice>>;
    // Tells the host that a device failed, or lost data, with the text.
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
    // connected.
    std::shared_ptr<VexaDevice> add(std::string ipAddress, std::uint32_t port);
    // A new device at the usual local address and port, not yet connected.
    std::shared_ptr<VexaDevice> addDefaultDevice();
    // The device lives on while a window still holds it.
    void eraseAt(std::size_t position);
    // Exact address text (as typed, case and all) and port.
    bool contains(const std::string& ipAddress, std::uint32_t port) const;

    // Writes the list into the settings node, or replaces the list with the
    // stored devices and connects each of them, as the node's direction says.
    void serializeSettings(Nerova::Utils::Serialization::Node& node);
    // Every device's channel bindings, in list order.
    void saveSetup(Nerova::Utils::Serialization::Node& node) const;
    // Gives each device the stored bindings of the same address and port;
    // the devices left over take the stored devices left over by position,
    // and the rest get fresh output channels. Neither devices nor channels
    // are added or removed.
    void loadSetup(const Nerova::Utils::Serialization::Node& node);
    // For a setup that holds nothing of ours: every channel by its device
    // name on a fresh output channel.
    void resetSetup();

    // The steps of an acquisition, for every device in list order. A device
    // whose step fails is reported once, disconnected (so later steps pass
    // it by quietly) and the others go on. A device that dropped a block
    // too large to hold is reported after its step and stays.
    void prepareAcquisition();
    void startAcquisition(const FailureReport& report);
    void readMeasurements(double hostTime, const FailureReport& report);
    void stopAcquisition(const FailureReport& report);
    // The channel lists of every connected device, read again.
    void readSystemConfigs(const FailureReport& report);
    // Every channel of every device gives its output channel back.
    void unbindChannels();

private:
    // Runs each step for every device in turn, one step after the other.
    template <class... Steps>
    void forEachDevice(const FailureReport& report, Steps&&... steps);

    Devices devices_;
    // The list as a step began, kept for the next step so that a step
    // allocates nothing; a step inside a step (a host that answers a report
    // with another event) takes a copy of its own.
    Devices stepDevices_;
    bool inStep_ = false;
    Nerova::Utils::Ncom::OutputChannel::OutputFactory* outputFactory_;
};
