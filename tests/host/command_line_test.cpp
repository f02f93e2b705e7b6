#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_file.h"
#include "host/command_line.h"
#include "host/plugin_module.h"

using vexa::host::HostCommand;
using vexa::host::readCommandLine;

namespace {

struct BadLine {
    std::vector<std::string> arguments;
    std::string named;  // what the one error line must hold: the option and the bad value
};

std::string joined(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) line += argument + " ";
    return line;
}

}  // namespace

TEST(HostCommandLine, EveryMistakeIsOneLineNamingTheOptionWithStatusTwo) {
    const BadLine cases[] = {
        // What a new user tried first: each once ran on or printed the whole usage.
        {{"acquire", "--duration", "abc"}, "--duration: 'abc'"},
        {{"acquire", "--duration", "-1"}, "--duration: '-1'"},
        {{"acquire", "--device", "127.0.0.1:notaport"}, "--device: '127.0.0.1:notaport'"},
        {{"acquire", "--step-ms", "0"}, "--step-ms: '0'"},
        {{"acquire", "--duration", "0"}, "--duration: '0'"},
        {{"acquire", "--duration", "nan"}, "--duration: 'nan'"},
        {{"acquire", "--step-ms", "1.5"}, "--step-ms: '1.5'"},
        {{"acquire", "--device", "127.0.0.1:0"}, "--device: '127.0.0.1:0'"},
        {{"acquire", "--device", "127.0.0.1:65536"}, "--device: '127.0.0.1:65536'"},
        {{"acquire", "--device", "127.0.0.1"}, "--device: '127.0.0.1'"},
        {{"acquire", "--device", "192.168.1.20:5963"}, "--device: '192.168.1.20:5963'"},
        {{"acquire", "--device", "127.0.0.1:5963", "--device", "127.1:5963"}, "--device: '127.1:5963'"},
        {{"acquire", "--settings", "no-such-settings.xml"}, "--settings: 'no-such-settings.xml'"},
        {{"acquire", "--out", "no-such-folder/run.csv"}, "--out: 'no-such-folder/run.csv'"},
        {{"check", "--log-dir", "no-such-folder"}, "--log-dir: 'no-such-folder'"},
        {{"check", "--plugin", "no-such-module"}, "--plugin: 'no-such-module'"},
        {{"acquire", "--duration"}, "--duration"},
        {{"acquire", "--duration", "1", "--duration", "2"}, "--duration"},
        {{"check", "--duration", "1"}, "--duration"},
        {{"acquire", "--bogus"}, "--bogus"},
        {{"record"}, "'record' is not a command: check or acquire"},
        {{}, "a command is required: check or acquire"},
        {{"--plugin", "x"}, "a command is required: check or acquire"},
    };
    for (const BadLine& bad : cases) {
        HostCommand command;
        const auto outcome = readCommandLine(bad.arguments, command);
        EXPECT_FALSE(outcome.run) << joined(bad.arguments);
        EXPECT_EQ(outcome.status, 2) << joined(bad.arguments);
        EXPECT_EQ(outcome.error.rfind("vexa-host: ", 0), 0u) << outcome.error;
        EXPECT_NE(outcome.error.find(bad.named), std::string::npos) << outcome.error;
        EXPECT_EQ(outcome.error.find('\n'), std::string::npos) << outcome.error;
    }
}

TEST(HostCommandLine, AcquireOptionsReachTheRunAndDevicesAreKeptAsLoopbackAddresses) {
    vexa::test::TempFile out("run.csv");
    const std::string folder = std::filesystem::path(out.path()).parent_path().string();
    HostCommand command;
    const auto outcome = readCommandLine({"acquire", "--device", "localhost:5963", "--device", "127.4.5.6:05964",
                                          "--duration", "0.25", "--step-ms", "020", "--out", out.path(),
                                          "--log-dir", folder},
                                         command);
    ASSERT_TRUE(outcome.run) << outcome.error;
    EXPECT_EQ(command.kind, HostCommand::Kind::Acquire);
    const auto& run = command.acquisition;
    EXPECT_EQ(run.devices, (std::vector<std::string>{"127.0.0.1:5963", "127.4.5.6:5964"}));
    EXPECT_DOUBLE_EQ(run.durationSeconds, 0.25);
    EXPECT_EQ(run.stepMs, 20) << "decimal, never octal";
    EXPECT_EQ(run.csvFile, out.path());
    EXPECT_EQ(run.logFolder, folder + "/");
    EXPECT_EQ(run.pluginPath, vexa::host::PluginModule::besideProgram());
    EXPECT_FALSE(run.showProgress) << "the program decides that from its terminal";
}

TEST(HostCommandLine, CheckNeedsNoOptionsAndKeepsTheRunDefaults) {
    HostCommand command;
    ASSERT_TRUE(readCommandLine({"check"}, command).run);
    EXPECT_EQ(command.kind, HostCommand::Kind::Check);
    EXPECT_EQ(command.pluginPath, vexa::host::PluginModule::besideProgram());
    EXPECT_TRUE(command.logFolder.empty());
    EXPECT_DOUBLE_EQ(command.acquisition.durationSeconds, vexa::host::AcquisitionOptions{}.durationSeconds);
}

TEST(HostCommandLine, HelpOfEachCommandAndTheVersionGoToStdoutWithStatusZero) {
    HostCommand command;
    const auto top = readCommandLine({"--help"}, command);
    EXPECT_EQ(top.status, 0);
    EXPECT_NE(top.out.find("acquire"), std::string::npos) << top.out;
    const auto acquire = readCommandLine({"acquire", "--help"}, command);
    EXPECT_FALSE(acquire.run);
    EXPECT_EQ(acquire.status, 0);
    EXPECT_NE(acquire.out.find("--step-ms"), std::string::npos) << acquire.out;
    const auto check = readCommandLine({"check", "-h"}, command);
    EXPECT_EQ(check.status, 0);
    EXPECT_EQ(check.out.find("--step-ms"), std::string::npos) << check.out;
    const auto version = readCommandLine({"--version"}, command);
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "vexa-host " VEXA_VERSION "\n");
}
