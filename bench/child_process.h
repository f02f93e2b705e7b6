// A program the benchmark starts: the simulators it serves from and the
// host it measures, each a process of its own as on a real rig.
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <string>
#include <vector>

namespace vexa::bench {

class ChildProcess {
public:
    // Starts `program` with `arguments`; its standard output comes through
    // a pipe (readLine) or goes to `outputFile`, its errors to `errorFile`
    // (empty: both are kept on /dev/null or the pipe).
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments, bool pipeOutput,
                 const std::string& outputFile = "/dev/null", const std::string& errorFile = "/dev/null");
    // Stops the program (SIGTERM) if it still runs.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The next line of its output without the line break; false at the end.
    bool readLine(std::string& line);
    // Waits for the end; the exit status, or -1 for a program that did not
    // exit by itself.
    int wait();

private:
    pid_t pid_ = -1;
    std::FILE* output_ = nullptr;
};

}  // namespace vexa::bench
