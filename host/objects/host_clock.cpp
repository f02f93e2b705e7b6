#include "host/objects/host_clock.h"

namespace vexa::host {

HRESULT HostClock::GetTime(DOUBLE* seconds) {
    return call(7, [&] { return writeOut(seconds, seconds_); });
}

}  // namespace vexa::host
