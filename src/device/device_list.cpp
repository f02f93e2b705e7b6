#include "device/device_list.h"

#include <exception>

#include "device/vexa_device.h"
#include "platform/com_error.h"

DeviceList::DeviceList(Nerova::Utils::Ncom::OutputChannel::OutputFactory* outputFactory) noexcept
    : outputFactory_(outputFactory) {}

std::shared_ptr<VexaDevice> DeviceList::add(std::string ipAddress, std::uint32_t port) {
    auto device = VexaDevice::create(std::move(ipAddress), port, outputFactory_);
    devices_.push_back(device);
    return device;
}

namespace {

void disconnectAndReport(VexaDevice& device, const std::string& message, const DeviceList::FailureReport& report) {
    try {
        device.closeConnection();
    } catch (...) {
        // The socket is released with the device either way.
    }
    if (!report) return;
    try {
        report(message);
    } catch (...) {
        // A host that cannot take the report must not keep the other
        // devices from their step; there is nobody else to tell.
    }
}

}  // namespace

template <class Step>
void DeviceList::forEachDevice(const FailureReport& report, Step&& step) {
    // A copy: a report may reach the host, and the host may change the list.
    const Devices devices = devices_;
    for (const auto& device : devices) {
        try {
            step(*device);
        } catch (const std::exception& error) {
            disconnectAndReport(*device, error.what(), report);
        } catch (const vexa::ComError& error) {
            // A host channel that refused a sample: the device's data has
            // nowhere to go either.
            disconnectAndReport(*device, error.message(), report);
        }
    }
}

void DeviceList::prepareAcquisition() {
    for (const auto& device : devices_) device->prepareAcquisition();
}

void DeviceList::startAcquisition(const FailureReport& report) {
    forEachDevice(report, [](VexaDevice& device) { device.startAcquisition(); });
}

void DeviceList::readMeasurements(double hostTime, const FailureReport& report) {
    forEachDevice(report, [hostTime](VexaDevice& device) { device.readMeasurements(hostTime); });
}

void DeviceList::stopAcquisition(const FailureReport& report) {
    forEachDevice(report, [](VexaDevice& device) { device.stopAcquisition(); });
}

void DeviceList::readSystemConfigs(const FailureReport& report) {
    forEachDevice(report, [](VexaDevice& device) {
        if (device.deviceInfo()->connected) device.readSystemConfig();
    });
}

void DeviceList::unbindChannels() {
    for (const auto& device : devices_) device->unbindChannels();
}
