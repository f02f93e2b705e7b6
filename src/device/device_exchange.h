// How every command exchange of a device runs; shared by the files that
// make up VexaDevice and by nothing else.
#pragma once

#include "device/command_link.h"
#include "device/vexa_device.h"
#include "net/tcp_exception.h"

template <class Exchange>
void VexaDevice::exchange(Exchange&& body) {
    try {
        vexa::protocol::CommandLink link(*socket_);
        body(link);
    } catch (const Nerova::NvLib::Protocols::Ethernet::TcpException&) {
        dropConnection();
        throw;
    }
}
