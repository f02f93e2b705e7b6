#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <regex>
#include <string>
#include <vector>

#ifdef _WIN32
#define popen _popen
#define pclose _pclose
#endif

#include "support/program_run.h"
#include "support/sim_client.h"

namespace {

using vexa::test::programBesideTest;
using vexa::test::runProgram;

// A simulator program started in the background; its first line read.
class RunningSimulator {
public:
    explicit RunningSimulator(const std::string& arguments) {
        const std::string command = "\"" + programBesideTest("vexa-sim").string() + "\" " + arguments;
        program_ = popen(command.c_str(), "r");
        char line[128] = {};
        if (program_ != nullptr && std::fgets(line, sizeof line, program_) != nullptr) firstLine = line;
    }
    ~RunningSimulator() {
        if (program_ != nullptr) pclose(program_);
    }
    RunningSimulator(const RunningSimulator&) = delete;
    RunningSimulator& operator=(const RunningSimulator&) = delete;

    int wait() {
        const int status = pclose(program_);
        program_ = nullptr;
        return status;
    }

    std::string firstLine;

private:
    std::FILE* program_ = nullptr;
};

// A loopback address of its own for a test that needs a fixed port.
std::string randomLoopbackAddress() {
    std::random_device random;
    std::uniform_int_distribution<int> part(0, 255), last(1, 254);
    return "127." + std::to_string(part(random)) + "." + std::to_string(part(random)) + "." +
           std::to_string(last(random));
}

}  // namespace

TEST(SimulatorProgram, TellsItsPortFirstAndServesIt) {
    RunningSimulator program("--port 0 --name Program --exit-after 2");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(program.firstLine, match, std::regex(R"(listening on 127\.0\.0\.1:(\d+)\r?\n)")))
        << program.firstLine;

    vexa::test::SimClient client(static_cast<std::uint16_t>(std::stoi(match[1])));
    const auto reply = client.ask("IDN?;\n", 8 + 7 + 2);
    EXPECT_EQ(std::string(reply.begin() + 8, reply.begin() + 15), "Program");
    EXPECT_EQ(program.wait(), 0);
}

TEST(SimulatorProgram, ServesAFixedPortOnAnyLoopbackAddress) {
    const std::string address = randomLoopbackAddress();
    RunningSimulator program("--address " + address + " --port 5963 --name Fixed --exit-after 2");
    ASSERT_EQ(program.firstLine.substr(0, program.firstLine.find_last_not_of("\r\n") + 1),
              "listening on " + address + ":5963");

    vexa::test::SimClient client(5963, std::chrono::milliseconds(2000), address);
    const auto reply = client.ask("IDN?;\n", 8 + 5 + 2);
    EXPECT_EQ(std::string(reply.begin() + 8, reply.begin() + 13), "Fixed");
    EXPECT_EQ(program.wait(), 0);
}

TEST(SimulatorProgram, AMistakeIsOneLineOnStderrWithStatusTwoAndHelpIsNoMistake) {
    vexa::test::checkUsage(programBesideTest("vexa-sim"), {
        {{"--address", "192.168.0.1"}, 2, "--address: '192.168.0.1'"},
        {{"--rate", "-5"}, 2, "--rate: '-5'"},
        {{"--close-after", "many"}, 2, "--close-after: 'many'"},
        {{"--nonsense"}, 2, "--nonsense"},
        {{"--help"}, 0, "--refuse-run"},
        {{"--version"}, 0, "vexa-sim "},
    }, [](bool good, const std::string& what) { EXPECT_TRUE(good) << what; });
}
