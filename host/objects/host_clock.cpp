#include "host/objects/host_clock.h"

namespace vexa::host {

HRESULT HostClock::GetTime(DOUBLE* seconds) {
    if (const HRESULT failure = enter(7); failure != S_OK) return failure;
    if (seconds == nullptr) return E_POINTER;
    *seconds = seconds_;
    return S_OK;
}

}  // namespace vexa::host
