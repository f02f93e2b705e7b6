// One of our programs running beside a test: its standard output read line
// by line as it comes (a reader thread, so waits are bounded without
// sleeping), ended when the test is done.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace vexa::test {

class ChildProcess {
public:
    ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments) {
        start(program, arguments);
        reader_ = std::thread([this] { pump(); });
    }
    ~ChildProcess() { stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The next line of output without its line break; nothing when the
    // program ends or says nothing for `patience`.
    std::optional<std::string> readLine(std::chrono::seconds patience) {
        std::unique_lock lock(mutex_);
        if (!arrived_.wait_for(lock, patience, [this] { return !lines_.empty() || ended_; })) return std::nullopt;
        if (lines_.empty()) return std::nullopt;
        std::string line = std::move(lines_.front());
        lines_.pop_front();
        return line;
    }

    // Interrupts the program as Ctrl+C would (on Windows, where a process
    // without a console of its own cannot be sent that, ends it) and waits
    // for its end; answers its exit status.
    int stop() {
        if (stopped_) return status_;
        stopped_ = true;
#ifdef _WIN32
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(process_, &code);
        status_ = static_cast<int>(code);
        CloseHandle(process_);
#else
        kill(pid_, SIGINT);
        int wait = 0;
        waitpid(pid_, &wait, 0);
        status_ = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
#endif
        if (reader_.joinable()) reader_.join();
        return status_;
    }

private:
#ifdef _WIN32
    void start(const std::filesystem::path& program, const std::vector<std::string>& arguments) {
        SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE write = nullptr;
        if (!CreatePipe(&output_, &write, &inherit, 0)) throw std::runtime_error("no pipe");
        SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
        std::wstring line = L"\"" + program.wstring() + L"\"";
        for (const std::string& argument : arguments)
            line += L" \"" + std::filesystem::path(argument).wstring() + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = write;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        PROCESS_INFORMATION info{};
        const BOOL made = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info);
        CloseHandle(write);
        if (!made) throw std::runtime_error("cannot start " + program.string());
        CloseHandle(info.hThread);
        process_ = info.hProcess;
    }
    bool readSome(char* buffer, std::size_t size, std::size_t& got) {
        DWORD read = 0;
        const bool good = ReadFile(output_, buffer, static_cast<DWORD>(size), &read, nullptr) && read > 0;
        got = read;
        if (!good) CloseHandle(output_);
        return good;
    }
    HANDLE process_ = nullptr;
    HANDLE output_ = nullptr;
#else
    void start(const std::filesystem::path& program, const std::vector<std::string>& arguments) {
        int ends[2];
        if (pipe(ends) != 0) throw std::runtime_error("no pipe");
        std::vector<std::string> all{program.string()};
        all.insert(all.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& argument : all) argv.push_back(argument.data());
        argv.push_back(nullptr);
        pid_ = fork();
        if (pid_ == 0) {
            dup2(ends[1], STDOUT_FILENO);
            close(ends[0]);
            close(ends[1]);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(ends[1]);
        output_ = ends[0];
        if (pid_ < 0) throw std::runtime_error("cannot start " + program.string());
    }
    bool readSome(char* buffer, std::size_t size, std::size_t& got) {
        const ssize_t read = ::read(output_, buffer, size);
        got = read > 0 ? static_cast<std::size_t>(read) : 0;
        if (read <= 0) close(output_);
        return read > 0;
    }
    pid_t pid_ = -1;
    int output_ = -1;
#endif

    void pump() {
        std::string partial;
        char buffer[1024];
        std::size_t got = 0;
        while (readSome(buffer, sizeof buffer, got)) {
            partial.append(buffer, got);
            for (std::size_t end; (end = partial.find('\n')) != std::string::npos; partial.erase(0, end + 1)) {
                std::string line = partial.substr(0, end);
                if (!line.empty() && line.back() == '\r') line.pop_back();
                std::lock_guard lock(mutex_);
                lines_.push_back(std::move(line));
                arrived_.notify_all();
            }
        }
        std::lock_guard lock(mutex_);
        ended_ = true;
        arrived_.notify_all();
    }

    std::thread reader_;
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<std::string> lines_;
    bool ended_ = false;
    bool stopped_ = false;
    int status_ = -1;
};

}  // namespace vexa::test
