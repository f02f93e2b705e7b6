// Runs one of our programs as a user would and keeps what it said: stdout,
// stderr and the exit status. The programs are built into the folder of the
// test that runs them.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

#include "temp_file.h"

namespace vexa::test {

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::filesystem::path programBesideTest(const std::string& name) {
#ifdef _WIN32
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return std::filesystem::path(self).parent_path() / (name + ".exe");
#else
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / name;
#endif
}

// The command line for the system's shell; no argument may hold a double
// quote. On Windows the shell (cmd /c) drops the first and the last quote of
// a line with more than two, so the whole line is quoted once more.
inline std::string shellLine(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                             const std::string& errFile) {
    std::string line;
#ifdef _WIN32
    line += '"';
#endif
    line += '"' + program.string() + '"';
    for (const std::string& argument : arguments) line += " \"" + argument + '"';
    line += " 2>\"" + errFile + '"';
#ifdef _WIN32
    line += '"';
#endif
    return line;
}

// Runs `program` to its end.
inline ProgramRun runProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments) {
    TempFile err("stderr.txt");
#ifdef _WIN32
    std::FILE* pipe = _popen(shellLine(program, arguments, err.path()).c_str(), "rb");
#else
    std::FILE* pipe = popen(shellLine(program, arguments, err.path()).c_str(), "r");
#endif
    ProgramRun run;
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
#ifdef _WIN32
    run.status = _pclose(pipe);
#else
    const int wait = pclose(pipe);
    run.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
#endif
    run.err = err.contents();
    return run;
}

// Line breaks in what a program wrote, counted the same on every platform.
inline std::size_t lineCount(const std::string& text) {
    std::size_t lines = 0;
    for (const char c : text) lines += c == '\n' ? 1 : 0;
    return lines;
}

// One command line and what the program must answer: a usage mistake is
// one stderr line holding `said` and status 2; help and version (status 0)
// hold `said` on stdout and write nothing on stderr.
struct UsageCase {
    std::vector<std::string> arguments;
    int status;
    std::string said;
};

template <class Expect>
void checkUsage(const std::filesystem::path& program, const std::vector<UsageCase>& cases, Expect expect) {
    for (const UsageCase& c : cases) {
        const ProgramRun run = runProgram(program, c.arguments);
        const bool mistake = c.status != 0;
        const std::string& said = mistake ? run.err : run.out;
        expect(run.status == c.status && said.find(c.said) != std::string::npos &&
                   (mistake ? lineCount(run.err) == 1 && run.out.empty() : run.err.empty()),
               c.arguments.front() + " " + c.arguments.back() + " -> status " + std::to_string(run.status) +
                   ", stdout: " + run.out + ", stderr: " + run.err);
    }
}

}  // namespace vexa::test
