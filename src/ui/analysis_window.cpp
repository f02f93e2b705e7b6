#include "ui/analysis_window.h"

AnalysisWindow::AnalysisWindow(Nerova::Kite::WindowPtr window, PluginCore* core)
    : NVWindow(std::move(window), "ui/analysis_window.xml"), core_(core) {}

AnalysisWindow::~AnalysisWindow() = default;
