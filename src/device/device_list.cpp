#include "device/device_list.h"

DeviceList::DeviceList(Nerova::Utils::Ncom::OutputChannel::OutputFactory* outputFactory) noexcept
    : outputFactory_(outputFactory) {}
