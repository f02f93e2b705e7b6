// Reads what vexa-host recorded: a header line, then channel,time,value rows.
#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace vexa::test {

struct RecordedSample {
    double time;
    double value;
};

// Channel name -> its samples, in file order; `header` gets the first line.
inline std::map<std::string, std::vector<RecordedSample>> readRecordedCsv(const std::filesystem::path& file,
                                                                          std::string& header) {
    std::ifstream in(file);
    std::getline(in, header);
    std::map<std::string, std::vector<RecordedSample>> rows;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string channel, time, value;
        std::getline(fields, channel, ',');
        std::getline(fields, time, ',');
        std::getline(fields, value);
        rows[channel].push_back({std::stod(time), std::stod(value)});
    }
    return rows;
}

}  // namespace vexa::test
