// How the plug-in's COM methods report a failure that has no result of its
// own: its message goes to the host, which shows or records it.
#pragma once

#include <exception>

class PluginCore;

// For vexa::guarded. A report that cannot reach the host (no core, no host
// bound yet, or the host's call fails) is dropped: the answer already says
// that the call failed, and reporting the report's failure could not end.
class HostReport {
public:
    explicit HostReport(PluginCore* core) noexcept : core_(core) {}
    void operator()(const std::exception* error) const noexcept;

private:
    PluginCore* core_;
};
