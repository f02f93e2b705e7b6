#include "plugin/com_boundary.h"

#include <exception>
#include <string_view>

#include "platform/com_error.h"
#include "plugin/plugin_core.h"

namespace {

// A report that cannot reach the host is dropped: the answer already says
// that the call failed, and reporting the report's failure could not end.
void reportToHost(PluginCore* core, std::string_view text) noexcept {
    if (core == nullptr || !core->app) return;
    try {
        core->reportError(text);
    } catch (...) {
    }
}

}  // namespace

HRESULT answerForCaughtException(PluginCore* core) noexcept {
    try {
        throw;
    } catch (const vexa::ComError& error) {
        return error.result();
    } catch (const std::exception& error) {
        reportToHost(core, error.what());
    } catch (...) {
        reportToHost(core, "Unknown failure in the Vexa plug-in.");
    }
    return E_FAIL;
}
