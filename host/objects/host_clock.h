// The host's acquisition clock: a time the host (or a test) sets.
#pragma once

#include "host/objects/host_object.h"
#include "contract/host_app.h"

namespace vexa::host {

class HostClock final : public HostObject<HostTimeSource> {
public:
    void setTime(double seconds) noexcept { seconds_ = seconds; }
    double time() const noexcept { return seconds_; }

    HRESULT STDMETHODCALLTYPE GetTime(DOUBLE* seconds) override;

private:
    double seconds_ = 0.0;
};

}  // namespace vexa::host
