// The reference host's application object: what Initialize hands the
// plug-in. Its version, mode and folders are set by whoever drives the
// plug-in; every error report is kept and printed.
//
// Assumptions about the real host: its setup-mode flag may be any 16-bit
// value (setSetupFlag), as any flag of its channels; the only folder it
// knows is kind 1, the log folder, and it refuses other kinds with
// E_INVALIDARG.
#pragma once

#include <string>
#include <vector>

#include "host/objects/host_clock.h"
#include "host/objects/channel_group.h"
#include "host/objects/host_object.h"
#include "contract/host_app.h"

namespace vexa::host {

// The five numbers of the host's version query; the second is the major
// release and the third the service pack.
struct HostVersion {
    LONG first = 3;
    LONG major = 3;
    LONG servicePack = 4;
    LONG fourth = 0;
    LONG fifth = 0;
};

class HostAppObject final : public HostObject<HostApp> {
public:
    // A host with its own data object (leading to a channel group) and clock;
    // the log folder is the system's temporary folder.
    HostAppObject();

    void setVersion(const HostVersion& version) noexcept { version_ = version; }
    void setHostMode(LONG mode) noexcept { hostMode_ = mode; }
    void setSetupMode(bool setup) noexcept { setupFlag_ = setup ? VARIANT_TRUE : VARIANT_FALSE; }
    // Any 16-bit value, to hand the plug-in flags other than the proper two.
    void setSetupFlag(VARIANT_BOOL flag) noexcept { setupFlag_ = flag; }
    // UTF-8, ending with a path separator.
    void setLogFolder(std::string folder) { logFolder_ = std::move(folder); }
    void setData(ComPtr<HostData> data) { data_ = std::move(data); }
    void setTimeSource(ComPtr<HostTimeSource> source) { timeSource_ = std::move(source); }
    // Also written to stderr as "host: <text>" when true (the default).
    void setEchoReports(bool echo) noexcept { echoReports_ = echo; }

    const std::string& logFolder() const noexcept { return logFolder_; }
    const ComPtr<AcquisitionDataObject>& dataObject() const noexcept { return dataObject_; }
    const ComPtr<HostClock>& clock() const noexcept { return clock_; }
    // Every text the plug-in reported, in order.
    const std::vector<std::string>& reportedErrors() const noexcept { return reports_; }

    HRESULT STDMETHODCALLTYPE GetData(HostData** data) override;
    HRESULT STDMETHODCALLTYPE GetHostMode(LONG* mode) override;
    HRESULT STDMETHODCALLTYPE GetTimeSource(HostTimeSource** source) override;
    HRESULT STDMETHODCALLTYPE ReportError(BSTR text) override;
    HRESULT STDMETHODCALLTYPE IsSetupMode(VARIANT_BOOL* setup) override;
    HRESULT STDMETHODCALLTYPE GetFolder(LONG kind, BSTR* folder) override;
    HRESULT STDMETHODCALLTYPE GetVersion(LONG* first, LONG* major, LONG* servicePack, LONG* fourth,
                                         LONG* fifth) override;

private:
    HostVersion version_;
    LONG hostMode_ = 0;
    VARIANT_BOOL setupFlag_ = VARIANT_FALSE;
    bool echoReports_ = true;
    std::string logFolder_;
    ComPtr<AcquisitionDataObject> dataObject_;
    ComPtr<HostData> data_;
    ComPtr<HostClock> clock_;
    ComPtr<HostTimeSource> timeSource_;
    std::vector<std::string> reports_;
};

}  // namespace vexa::host
