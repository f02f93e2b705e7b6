#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>

#ifdef _WIN32
#include <windows.h>
#define popen _popen
#define pclose _pclose
#endif

#include "support/sim_client.h"

namespace {

// The simulator program is built into the same folder as this test.
std::filesystem::path simulatorProgram() {
#ifdef _WIN32
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return std::filesystem::path(self).parent_path() / "vexa-sim.exe";
#else
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "vexa-sim";
#endif
}

}  // namespace

TEST(SimulatorProgram, TellsItsPortFirstAndServesIt) {
    std::string command = "\"";
    command += simulatorProgram().string();
    command += "\" --port 0 --name Program --exit-after 2";
    std::FILE* program = popen(command.c_str(), "r");
    ASSERT_NE(program, nullptr);
    char line[128] = {};
    ASSERT_NE(std::fgets(line, sizeof line, program), nullptr);
    std::smatch match;
    const std::string first = line;
    ASSERT_TRUE(std::regex_match(first, match,
                                 std::regex(R"(listening on 127\.0\.0\.1:(\d+)\r?\n)")))
        << first;

    vexa::test::SimClient client(static_cast<std::uint16_t>(std::stoi(match[1])));
    const auto reply = client.ask("IDN?;\n", 8 + 7 + 2);
    EXPECT_EQ(std::string(reply.begin() + 8, reply.begin() + 15), "Program");
    EXPECT_EQ(pclose(program), 0);
}
