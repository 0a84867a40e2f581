#pragma once

#include "support/TestFiles.h"

#include <algorithm>
#include <string>
#include <vector>

namespace ballotine::test {

struct ToolRun {
    int status = -1;
    std::string errors;
};

// Runs the built tool the way the installer does: by name, in `dir`, with
// the program's folder first on the PATH; in the plainest locale, as services often run.
// `shell` comes first (variables, limits).
ToolRun RunTool(const TempDir& dir, const std::vector<std::string>& arguments,
                const std::string& shell = {});

// The installer's command line: pack.zip (in `dir`) into `target`.
ToolRun Extract(const TempDir& dir, const std::string& target = "target/",
                const std::string& shell = {});

inline long Lines(const std::string& text) {
    return static_cast<long>(std::count(text.begin(), text.end(), '\n'));
}

} // namespace ballotine::test
