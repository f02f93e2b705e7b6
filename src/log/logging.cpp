#include "log/logging.h"

#include <cstdio>
#include <memory>
#include <mutex>

#include <fmt/chrono.h>
#include <fmt/format.h>
#include <spdlog/details/os.h>
#include <spdlog/logger.h>
#include <spdlog/sinks/base_sink.h>

#include "platform/text.h"
#include "log/logging_internal.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#endif

namespace {

// A record as the sinks receive it: spdlog's fields plus the logging object.
struct LogRecord : spdlog::details::log_msg {
    const void* object = nullptr;
};

spdlog::level::level_enum toSpdlogLevel(LogSeverity severity) {
    switch (severity) {
    case LogSeverity::Fatal: return spdlog::level::critical;
    case LogSeverity::Error: return spdlog::level::err;
    case LogSeverity::Warning: return spdlog::level::warn;
    case LogSeverity::Info: return spdlog::level::info;
    case LogSeverity::Debug: return spdlog::level::debug;
    case LogSeverity::Verbose: break;
    }
    return spdlog::level::trace;
}

const char* severityName(spdlog::level::level_enum level) {
    switch (level) {
    case spdlog::level::critical: return "FATAL";
    case spdlog::level::err: return "ERROR";
    case spdlog::level::warn: return "WARN";
    case spdlog::level::info: return "INFO";
    case spdlog::level::debug: return "DEBUG";
    default: return "VERB";
    }
}

// "2024-05-01 13:45:07.123 ERROR [4711] [VexaDevice::isConnected@393] text\n"
std::string formatRecord(const spdlog::details::log_msg& record) {
    using namespace std::chrono;
    const auto sinceEpoch = record.time.time_since_epoch();
    const auto milliseconds = duration_cast<std::chrono::milliseconds>(sinceEpoch).count() % 1000;
    const std::tm local =
        spdlog::details::os::localtime(system_clock::to_time_t(record.time));
    return fmt::format("{:%Y-%m-%d %H:%M:%S}.{:03} {:<5} [{}] [{}@{}] {}\n", local,
                       milliseconds, severityName(record.level), record.thread_id,
                       record.source.funcname ? record.source.funcname : "", record.source.line,
                       std::string_view(record.payload.data(), record.payload.size()));
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// On Windows the file is shared for reading only, so that a second writer
// (another process, or another open in this one) cannot open it and loses
// its records rather than interleaving them with ours.
FileHandle openForAppending(const std::string& path) {
#ifdef _WIN32
    int descriptor = -1;
    if (_wsopen_s(&descriptor, vexa::narrowToWide(path).c_str(),
                  _O_CREAT | _O_WRONLY | _O_APPEND | _O_BINARY | _O_NOINHERIT, _SH_DENYWR,
                  _S_IREAD | _S_IWRITE) != 0)
        return nullptr;
    FileHandle file(_fdopen(descriptor, "ab"));
    if (!file) _close(descriptor);
    return file;
#else
    return FileHandle(std::fopen(path.c_str(), "ab"));
#endif
}

// One growing file, opened when the first record comes and only then: when
// that open fails, this record and every later one are lost. A file that
// starts empty begins with the UTF-8 byte order mark.
class AppendingTextSink final : public spdlog::sinks::base_sink<std::mutex> {
public:
    explicit AppendingTextSink(std::string path) : path_(std::move(path)) {}

protected:
    void sink_it_(const spdlog::details::log_msg& record) override {
        if (!openTried_) {
            openTried_ = true;
            open();
        }
        if (!file_) return;
        const std::string line = formatRecord(record);
        std::fwrite(line.data(), 1, line.size(), file_.get());
        std::fflush(file_.get());
    }
    void flush_() override {
        if (file_) std::fflush(file_.get());
    }

private:
    void open() {
        file_ = openForAppending(path_);
        if (!file_) return;
        std::fseek(file_.get(), 0, SEEK_END);
        if (std::ftell(file_.get()) == 0) {
            static constexpr unsigned char bom[] = {0xEF, 0xBB, 0xBF};
            std::fwrite(bom, 1, sizeof bom, file_.get());
        }
    }

    std::string path_;
    bool openTried_ = false;  // there is one attempt only
    FileHandle file_;
};

// Hands our own record type to the sinks unchanged.
class RecordLogger final : public spdlog::logger {
public:
    using spdlog::logger::logger;
    void write(const LogRecord& record) { log_it_(record, true, false); }
};

struct LoggerHolder {
    std::mutex mutex;
    std::shared_ptr<RecordLogger> logger;
};

LoggerHolder& holder() {
    static LoggerHolder instance;
    return instance;
}

std::shared_ptr<RecordLogger> currentLogger() {
    std::lock_guard lock(holder().mutex);
    return holder().logger;
}

}  // namespace

void initLogging(const std::string& path) {
    std::lock_guard lock(holder().mutex);
    if (holder().logger) return;  // the first file stays in force
    auto logger = std::make_shared<RecordLogger>(
        "vexa", std::make_shared<AppendingTextSink>(path));
    logger->set_level(spdlog::level::err);
    holder().logger = std::move(logger);
}

bool isLogging(LogSeverity severity) noexcept {
    try {
        const auto logger = currentLogger();
        return logger && logger->should_log(toSpdlogLevel(severity));
    } catch (...) {
        return false;
    }
}

void writeLogRecord(LogSeverity severity, const void* object, const char* function, int line,
                    std::string_view message) noexcept {
    try {
        const auto logger = currentLogger();
        const auto level = toSpdlogLevel(severity);
        if (!logger || !logger->should_log(level)) return;
        LogRecord record;
        static_cast<spdlog::details::log_msg&>(record) = spdlog::details::log_msg(
            spdlog::source_loc{"", line, function}, logger->name(), level,
            spdlog::string_view_t(message.data(), message.size()));
        record.object = object;
        logger->write(record);
    } catch (...) {
        // A failing log must never take the device link down with it.
    }
}

void resetLoggingForTests() {
    std::lock_guard lock(holder().mutex);
    holder().logger.reset();
}
