#include "plugin/host_report.h"

#include "plugin/plugin_core.h"

void HostReport::operator()(const std::exception* error) const noexcept {
    if (core_ == nullptr || !core_->app) return;
    try {
        core_->reportError(error != nullptr ? error->what() : "Unknown failure in the Vexa plug-in.");
    } catch (...) {
    }
}
