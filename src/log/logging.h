// The plug-in's log file. Only failures are written: records of severity
// warning and below are dropped before anything is formatted.
#pragma once

#include <string>
#include <string_view>

// Starts the process-wide logger writing to `path` (narrow text in the
// system's code page). Called by every Initialize; the first path stays.
// The file is created, and opened for appending, with the first record.
void initLogging(const std::string& path);

// The severities of the log, most severe first.
enum class LogSeverity { Fatal = 1, Error = 2, Warning = 3, Info = 4, Debug = 5, Verbose = 6 };

// True when a logger exists and lets `severity` through.
bool isLogging(LogSeverity severity) noexcept;

// Writes one record. `object` is the address of the object that logs; it
// travels with the record although the text layout does not print it.
// `function` ("Class::function") and `line` name the place the writer
// chose, which stays fixed when the source file moves around.
void writeLogRecord(LogSeverity severity, const void* object, const char* function, int line,
                    std::string_view message) noexcept;

// Logs an error; `message` is evaluated only when the record will be written.
#define VEXA_LOG_ERROR(object, function, line, message)                                \
    do {                                                                               \
        if (isLogging(LogSeverity::Error)) {                                           \
            writeLogRecord(LogSeverity::Error, (object), (function), (line), (message)); \
        }                                                                              \
    } while (false)
