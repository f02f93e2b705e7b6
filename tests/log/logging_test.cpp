#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <thread>

#include "log/logging.h"
#include "log/logging_internal.h"
#include "support/temp_file.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include "platform/text.h"
#endif

using vexa::test::TempFile;

namespace {

const std::string kBom = "\xEF\xBB\xBF";

class Logging : public ::testing::Test {
protected:
    void SetUp() override { resetLoggingForTests(); }
    void TearDown() override { resetLoggingForTests(); }
};

int countOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

}  // namespace

TEST_F(Logging, NothingIsWrittenBeforeTheFirstInitialize) {
    TempFile file("VexaLog.txt");
    EXPECT_FALSE(isLogging(LogSeverity::Error));
    int evaluated = 0;
    VEXA_LOG_ERROR(this, "Test::before", 1, (++evaluated, std::string("lost")));
    EXPECT_EQ(evaluated, 0);  // the message is not even built

    initLogging(file.path());
    EXPECT_FALSE(file.exists());  // the file waits for its first record
    VEXA_LOG_ERROR(this, "Test::after", 2, (++evaluated, std::string("kept")));
    EXPECT_EQ(evaluated, 1);
    EXPECT_EQ(countOf(file.contents(), "kept"), 1);
}

TEST_F(Logging, RecordsFollowTheTextLayoutOneLinePerRecord) {
    TempFile file("VexaLog.txt");
    initLogging(file.path());
    const int object = 0;
    VEXA_LOG_ERROR(&object, "VexaDevice::isConnected", 393,
                   "Connection is not established. Additional information: start acquisition");
    writeLogRecord(LogSeverity::Fatal, &object, "Plugin::fatal", 12, "last words");

    const std::string text = file.contents();
    ASSERT_EQ(text.rfind(kBom, 0), 0u);
    const std::regex layout(
        R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} ERROR \[(\d+)\] )"
        R"(\[VexaDevice::isConnected@393\] Connection is not established\. )"
        R"(Additional information: start acquisition\n)"
        R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} FATAL \[(\d+)\] \[Plugin::fatal@12\] last words\n)");
    std::smatch match;
    EXPECT_TRUE(std::regex_match(text.begin() + 3, text.end(), match, layout)) << text;
    EXPECT_EQ(match[1], match[2]);  // same thread, same id
}

TEST_F(Logging, WarningsAndBelowNeverReachTheFile) {
    TempFile file("VexaLog.txt");
    initLogging(file.path());
    EXPECT_FALSE(isLogging(LogSeverity::Warning));
    for (auto severity : {LogSeverity::Warning, LogSeverity::Info, LogSeverity::Debug,
                          LogSeverity::Verbose}) {
        writeLogRecord(severity, nullptr, "Test::quiet", 1, "dropped");
    }
    EXPECT_FALSE(file.exists());
    writeLogRecord(LogSeverity::Error, nullptr, "Test::loud", 2, "written");
    EXPECT_EQ(countOf(file.contents(), "dropped"), 0);
    EXPECT_EQ(countOf(file.contents(), "written"), 1);
}

TEST_F(Logging, LaterInitializeKeepsTheFirstFile) {
    TempFile first("VexaLog.txt");
    TempFile second("VexaLog.txt");
    initLogging(first.path());
    initLogging(second.path());
    VEXA_LOG_ERROR(nullptr, "Test::f", 1, "once");
    EXPECT_EQ(countOf(first.contents(), "once"), 1);  // not repeated per Initialize
    EXPECT_FALSE(second.exists());
}

TEST_F(Logging, AppendsToAnExistingFileWithTheByteOrderMarkOnlyAtItsStart) {
    TempFile file("VexaLog.txt");
    initLogging(file.path());
    VEXA_LOG_ERROR(nullptr, "Run::one", 1, "first run");
    resetLoggingForTests();  // as a new process would

    initLogging(file.path());
    std::thread([] { VEXA_LOG_ERROR(nullptr, "Run::two", 2, "second run"); }).join();
    const std::string text = file.contents();
    EXPECT_EQ(countOf(text, kBom), 1);
    EXPECT_EQ(text.rfind(kBom, 0), 0u);
    EXPECT_EQ(countOf(text, "\n"), 2);
    EXPECT_LT(text.find("first run"), text.find("second run"));
}

TEST_F(Logging, AFileThatCannotBeOpenedLosesThatRecordAndEveryLaterOne) {
    TempFile file("not-yet/VexaLog.txt");
    initLogging(file.path());
    VEXA_LOG_ERROR(nullptr, "Test::f", 1, "no folder");
    std::filesystem::create_directories(std::filesystem::path(file.path()).parent_path());
    VEXA_LOG_ERROR(nullptr, "Test::f", 2, "folder now there");
    EXPECT_FALSE(file.exists()) << "the open is tried once, with the first record";
}

#ifdef _WIN32

namespace {

// Opens `path` for writing as a logger would, sharing it as `share` says;
// -1 when the system refuses.
int openForWriting(const std::string& path, int share) {
    int descriptor = -1;
    _wsopen_s(&descriptor, vexa::narrowToWide(path).c_str(),
              _O_CREAT | _O_WRONLY | _O_APPEND | _O_BINARY, share, _S_IREAD | _S_IWRITE);
    return descriptor;
}

}  // namespace

TEST_F(Logging, WhileOurFileIsOpenOtherWritersAreRefusedAndReadersAreNot) {
    TempFile file("VexaLog.txt");
    initLogging(file.path());
    VEXA_LOG_ERROR(nullptr, "Test::f", 1, "ours");
    const int other = openForWriting(file.path(), _SH_DENYNO);
    if (other != -1) _close(other);
    EXPECT_EQ(other, -1) << "a second writer must not interleave with ours";
    EXPECT_EQ(countOf(file.contents(), "ours"), 1);
}

TEST_F(Logging, AFileThatAnotherLoggerHoldsLosesOurRecords) {
    TempFile file("VexaLog.txt");
    const int first = openForWriting(file.path(), _SH_DENYWR);  // as another process's logger
    ASSERT_NE(first, -1);
    initLogging(file.path());
    VEXA_LOG_ERROR(nullptr, "Test::f", 1, "second process");
    ASSERT_EQ(_write(first, "first process\n", 14), 14);
    _close(first);
    VEXA_LOG_ERROR(nullptr, "Test::f", 2, "after the other closed");
    EXPECT_EQ(file.contents(), "first process\n");
}

#endif
