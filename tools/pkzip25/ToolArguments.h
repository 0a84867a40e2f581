#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine::pkzip25 {

// The one job the tool does: unpack `archive` into `target`, keeping the archive's folders
// and overwriting what is there.
struct ExtractRequest {
    std::string archive;
    std::string target;
};

struct ParsedArguments {
    std::optional<ExtractRequest> request;
    bool helpWanted = false;
    std::string error; // why the arguments were refused, when there is no request
};

inline constexpr const char* kUsage =
    "usage: pkzip25 -extract -nofix -direct -over=all ARCHIVE TARGET/";

// Reads the command line (without the program name). Options may come in any order and
// between the two paths; their letter case does not matter. Only the options the installer
// gives are known, and the three that fix the meaning (-extract, -direct, -over=all) must be
// there: a command line that asks for anything else is refused rather than half obeyed.
ParsedArguments ParseArguments(const std::vector<std::string_view>& arguments);

} // namespace ballotine::pkzip25
