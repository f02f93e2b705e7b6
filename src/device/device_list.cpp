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

void tell(const DeviceList::FailureReport& report, std::string_view message) noexcept {
    if (!report) return;
    try {
        report(message);
    } catch (...) {
        // A host that cannot take the report must not keep the other
        // devices from their step; there is nobody else to tell.
    }
}

void disconnectAndReport(VexaDevice& device, const std::string& message, const DeviceList::FailureReport& report) {
    try {
        device.closeConnection();
    } catch (...) {
        // The socket is released with the device either way.
    }
    tell(report, message);
}

// The devices of a running step: the list copied into storage kept from
// step to step, emptied (storage kept) when the step ends, so that a
// device the list let go of goes then.
class StepDevices {
public:
    StepDevices(DeviceList::Devices& copy, const DeviceList::Devices& list, bool& running) : copy_(copy), running_(running) {
        copy_.assign(list.begin(), list.end());
        running_ = true;
    }
    ~StepDevices() {
        copy_.clear();
        running_ = false;
    }
    StepDevices(const StepDevices&) = delete;
    StepDevices& operator=(const StepDevices&) = delete;

private:
    DeviceList::Devices& copy_;
    bool& running_;
};

}  // namespace

template <class... Steps>
void DeviceList::forEachDevice(const FailureReport& report, Steps&&... steps) {
    // A copy: a report may reach the host, and the host may change the list.
    // Every step runs on the same copy, so no device misses a part of one.
    const auto run = [&](const Devices& devices, auto& step) {
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
    };
    if (inStep_) {
        const Devices copy(devices_);
        (run(copy, steps), ...);
        return;
    }
    const StepDevices held(stepDevices_, devices_, inStep_);
    (run(stepDevices_, steps), ...);
}

void DeviceList::prepareAcquisition() {
    for (const auto& device : devices_) device->prepareAcquisition();
}

void DeviceList::startAcquisition(const FailureReport& report) {
    forEachDevice(report, [](VexaDevice& device) { device.startAcquisition(); });
}

// Each part goes to every device before the next part begins: every
// device prepares its count, then its block, while the others are asked,
// and a step waits for about one answer rather than one per device. Each
// device still sees its own exchange in its own order.
void DeviceList::readMeasurements(double hostTime, const FailureReport& report) {
    forEachDevice(
        report, [](VexaDevice& device) { device.askReadyCount(); }, [](VexaDevice& device) { device.askBlock(); },
        [&](VexaDevice& device) {
            device.takeBlock(hostTime);
            if (const std::string loss = device.takeLossReport(); !loss.empty()) tell(report, loss);
        });
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
