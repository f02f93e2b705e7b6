#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <system_error>

extern char** environ;

namespace vexa::bench {

namespace {

[[noreturn]] void fail(const std::string& what, int error) {
    throw std::system_error(error, std::generic_category(), what);
}

// File actions freed however the start ends.
class SpawnActions {
public:
    SpawnActions() { posix_spawn_file_actions_init(&actions_); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    posix_spawn_file_actions_t* get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments, bool pipeOutput,
                           const std::string& outputFile, const std::string& errorFile) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    SpawnActions actions;
    int pipeEnds[2] = {-1, -1};
    if (pipeOutput) {
        if (pipe(pipeEnds) != 0) fail("pipe", errno);
        posix_spawn_file_actions_addclose(actions.get(), pipeEnds[0]);
        posix_spawn_file_actions_adddup2(actions.get(), pipeEnds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(actions.get(), pipeEnds[1]);
    } else {
        posix_spawn_file_actions_addopen(actions.get(), STDOUT_FILENO, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    posix_spawn_file_actions_addopen(actions.get(), STDERR_FILENO, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int result = posix_spawn(&pid_, program.c_str(), actions.get(), nullptr, argv.data(), environ);
    if (pipeOutput) close(pipeEnds[1]);
    if (result != 0) {
        if (pipeOutput) close(pipeEnds[0]);
        fail("cannot start " + program, result);
    }
    if (pipeOutput) output_ = fdopen(pipeEnds[0], "r");
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        wait();
    }
    if (output_ != nullptr) std::fclose(output_);
}

bool ChildProcess::readLine(std::string& line) {
    line.clear();
    if (output_ == nullptr) return false;
    for (int c; (c = std::fgetc(output_)) != EOF;) {
        if (c == '\n') return true;
        line += static_cast<char>(c);
    }
    return !line.empty();
}

int ChildProcess::wait() {
    if (pid_ <= 0) return -1;
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace vexa::bench
