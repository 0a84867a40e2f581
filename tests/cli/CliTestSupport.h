#pragma once

#include <string>
#include <vector>

namespace ballotine::test {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs ballotine-cli in-process with the given arguments (no terminal on input).
CliRun RunCliWith(const std::vector<std::string>& args, const std::string& input = "");

} // namespace ballotine::test
