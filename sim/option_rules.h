// What both programs' command lines share: CLI11 set up the same way, value
// rules that name the bad value, and one outcome for every way a parse ends.
// A usage error of any kind is one line on stderr and exit status 2; CLI11's
// own exit codes (105, 106, 109, ...) are never passed on.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

namespace vexa::cli {

inline constexpr int kUsageError = 2;

// How a parse ended: `run` with the options it filled in, or exit with
// `status` after writing `out` (help, version) to stdout and `error` (one
// line, no line break) to stderr.
struct ParseOutcome {
    bool run = false;
    int status = 0;
    std::string out;
    std::string error;
};

// Gives `app` the --version flag ("NAME VERSION") and the defaults both
// programs use. Call before adding options.
void prepare(CLI::App& app);

// Parses `arguments` (without the program name).
ParseOutcome parse(CLI::App& app, const std::vector<std::string>& arguments);

// Value rules for Option::transform. A failed rule says "'VALUE' is not
// WHAT"; CLI11 puts the option's name in front. Numbers are plain decimal
// text; integers are handed on in canonical decimal, so CLI11's own
// conversion (which reads "010" as octal) sees exactly what was checked.
CLI::Validator realRule(std::function<bool(double)> accept, std::string what);
CLI::Validator integerRule(long long low, long long high, std::string what);
CLI::Validator loopbackAddressRule();
// "HOST:PORT" with a loopback IPv4 HOST ("localhost" becomes 127.0.0.1) and
// a PORT from 1 to 65535.
CLI::Validator loopbackEndpointRule();
CLI::Validator existingFileRule();
CLI::Validator existingFolderRule();
// A file to be written: its folder must exist.
CLI::Validator newFileRule();

}  // namespace vexa::cli
