// For tests only: the logger is process-wide and otherwise lives until exit.
#pragma once

// Drops the logger and closes its file, as at module unload; the next
// initLogging starts afresh.
void resetLoggingForTests();
