// The plug-in's devices in the user's order, and the output factory that
// every device the list creates is given.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

class VexaDevice;

namespace Nerova::Utils::Ncom::OutputChannel {
class OutputFactory;
}

class DeviceList {
public:
    using Devices = std::vector<std::shared_ptr<VexaDevice>>;

    explicit DeviceList(Nerova::Utils::Ncom::OutputChannel::OutputFactory* outputFactory) noexcept;
    DeviceList(const DeviceList&) = delete;
    DeviceList& operator=(const DeviceList&) = delete;

    Devices::const_iterator begin() const noexcept { return devices_.begin(); }
    Devices::const_iterator end() const noexcept { return devices_.end(); }
    std::size_t size() const noexcept { return devices_.size(); }
    bool empty() const noexcept { return devices_.empty(); }

    Nerova::Utils::Ncom::OutputChannel::OutputFactory* outputFactory() const noexcept { return outputFactory_; }

private:
    Devices devices_;
    Nerova::Utils::Ncom::OutputChannel::OutputFactory* outputFactory_;
};
