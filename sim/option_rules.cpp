#include "sim/option_rules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <system_error>

#include "sim/loopback_address.h"

namespace vexa::cli {

namespace {

namespace fs = std::filesystem;

std::string inQuotes(const std::string& text) {
    return "'" + text + "'";
}

// The error's text on one line: CLI11 joins some lists with line breaks.
std::string oneLine(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    for (char& c : text) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

template <typename T>
bool parseWhole(const std::string& text, T& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end;
}

// CLI11 may list unexpected arguments back to front ("1 --duration"); they
// read better in the order they were typed.
std::string inTypedOrder(const std::string& text, const std::vector<std::string>& arguments) {
    const auto colon = text.rfind(": ");
    if (colon == std::string::npos) return text;
    std::vector<std::string> words;
    std::istringstream list(text.substr(colon + 2));
    for (std::string word; list >> word;) words.push_back(word);
    auto typedAt = [&](const std::string& word) { return std::find(arguments.begin(), arguments.end(), word); };
    std::stable_sort(words.begin(), words.end(),
                     [&](const std::string& a, const std::string& b) { return typedAt(a) < typedAt(b); });
    std::string ordered = text.substr(0, colon + 1);
    for (const std::string& word : words) ordered += " " + word;
    return ordered;
}

// CLI11's text, made plain where it is not: unexpected arguments in typed
// order, and for a missing or mistyped command ("A subcommand is required"
// either way) the commands there are.
std::string message(const CLI::App& app, const CLI::ParseError& error, const std::vector<std::string>& arguments) {
    if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) return inTypedOrder(oneLine(error.what()), arguments);
    const auto commands = app.get_subcommands([](const CLI::App*) { return true; });
    if (dynamic_cast<const CLI::RequiredError*>(&error) == nullptr || commands.empty() ||
        !app.get_subcommands().empty())
        return oneLine(error.what());
    std::string names;
    for (const CLI::App* command : commands) names += (names.empty() ? "" : " or ") + command->get_name();
    // The command comes first; anything else there is a mistyped one.
    if (!arguments.empty() && !arguments.front().empty() && arguments.front().front() != '-')
        return inQuotes(arguments.front()) + " is not a command: " + names;
    return "a command is required: " + names;
}

}  // namespace

void prepare(CLI::App& app) {
    app.set_version_flag("--version", app.get_name() + " " VEXA_VERSION);
    // A repeated single-valued option is a mistake, not a silent override.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::Throw);
}

ParseOutcome parse(CLI::App& app, const std::vector<std::string>& arguments) {
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    ParseOutcome outcome;
    try {
        app.parse(reversed);
        outcome.run = true;
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
            // --help or --version: CLI11 knows which subcommand's help to give.
            std::ostringstream out, ignored;
            app.exit(error, out, ignored);
            outcome.out = out.str();
        } else {
            outcome.status = kUsageError;
            outcome.error = app.get_name() + ": " + message(app, error, arguments);
        }
    }
    return outcome;
}

CLI::Validator realRule(std::function<bool(double)> accept, std::string what) {
    return CLI::Validator(
        [accept = std::move(accept), what = std::move(what)](std::string& text) -> std::string {
            double value = 0;
            if (parseWhole(text, value) && std::isfinite(value) && accept(value)) return {};
            return inQuotes(text) + " is not " + what;
        },
        "");
}

CLI::Validator integerRule(long long low, long long high, std::string what) {
    return CLI::Validator(
        [low, high, what = std::move(what)](std::string& text) -> std::string {
            long long value = 0;
            if (!parseWhole(text, value) || value < low || value > high) return inQuotes(text) + " is not " + what;
            text = std::to_string(value);
            return {};
        },
        "");
}

CLI::Validator loopbackAddressRule() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            if (sim::parseLoopbackAddress(text)) return {};
            return inQuotes(text) + " is not a loopback IPv4 address (127.0.0.0/8, all four parts)";
        },
        "");
}

CLI::Validator loopbackEndpointRule() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            const auto colon = text.rfind(':');
            if (colon == std::string::npos) return inQuotes(text) + " is not HOST:PORT";
            std::string host = text.substr(0, colon);
            if (host == "localhost") host = "127.0.0.1";
            if (!sim::parseLoopbackAddress(host))
                return inQuotes(text) + " does not name a loopback IPv4 host (127.0.0.0/8, all four parts)";
            unsigned port = 0;
            if (!parseWhole(text.substr(colon + 1), port) || port < 1 || port > 65535)
                return inQuotes(text) + " does not end in a port from 1 to 65535";
            text = host + ":" + std::to_string(port);
            return {};
        },
        "");
}

CLI::Validator existingFileRule() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            std::error_code error;
            if (fs::is_regular_file(fs::path(text), error)) return {};
            return inQuotes(text) + " is not an existing file";
        },
        "");
}

CLI::Validator existingFolderRule() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            std::error_code error;
            if (fs::is_directory(fs::path(text), error)) return {};
            return inQuotes(text) + " is not an existing folder";
        },
        "");
}

CLI::Validator newFileRule() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            const fs::path file = fs::path(text);
            std::error_code error;
            if (text.empty() || fs::is_directory(file, error)) return inQuotes(text) + " is not a file name";
            const fs::path folder = file.parent_path();
            if (folder.empty() || fs::is_directory(folder, error)) return {};
            return inQuotes(text) + " is in a folder that does not exist";
        },
        "");
}

}  // namespace vexa::cli
