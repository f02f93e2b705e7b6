#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <thread>

#include "plugin/logging.h"
#include "plugin/logging_internal.h"
#include "support/temp_file.h"

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
