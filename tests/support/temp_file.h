// A file name in the temporary folder that no other test uses, removed at
// the end of the test.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

namespace vexa::test {

class TempFile {
public:
    explicit TempFile(const std::string& name) {
        static std::atomic<int> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        folder_ = std::filesystem::temp_directory_path() /
                  ("vexa-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(folder_);
        path_ = folder_ / name;
    }
    ~TempFile() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    std::string path() const { return path_.string(); }
    bool exists() const { return std::filesystem::exists(path_); }
    std::string contents() const {
        std::string text;
        if (std::FILE* file = std::fopen(path_.string().c_str(), "rb")) {
            char buffer[4096];
            for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
                text.append(buffer, n);
            }
            std::fclose(file);
        }
        return text;
    }

private:
    std::filesystem::path folder_;
    std::filesystem::path path_;
};

}  // namespace vexa::test
