// The content of the host's analysis-mode window: a fixed greeting, no
// behaviour. It lives from the host's create event to its drop event.
#pragma once

#include "ui/nv_window.h"

class PluginCore;

class AnalysisWindow final : public Nerova::Kite::NVWindow {
public:
    // Loads the analysis markup into `window` (nothing for a null window).
    AnalysisWindow(Nerova::Kite::WindowPtr window, PluginCore* core);
    ~AnalysisWindow() override;

private:
    PluginCore* core_;  // not owned; kept for later use
};
