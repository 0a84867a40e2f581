#pragma once

#include "pkzip25/ExpansionLimit.h"
#include "pkzip25/ProtectedPlaces.h"

#include <cstdint>
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
    std::uint64_t maxTotal = kDefaultMaxTotal; // the most the archive may expand to
    ProtectedPlaces places{};                  // what the archive may not write
};

struct ParsedArguments {
    std::optional<ExtractRequest> request;
    bool helpWanted = false;
    std::string error; // why the arguments were refused, when there is no request
};

inline constexpr const char* kUsage =
    "usage: pkzip25 -extract -nofix -direct -over=all [-maxsize=SIZE] [-protect=FOLDER]... "
    "[-allow=PATTERN]... ARCHIVE TARGET/";

// The environment variable that raises (or lowers) the expansion limit for every run, for an
// operator whose runs come from the installer: -maxsize=SIZE wins over it.
inline constexpr const char* kMaxSizeVariable = "PKZIP25_MAXSIZE";

// Reads the command line (without the program name). Options may come in any order and
// between the two paths; their letter case does not matter (not the values'). Only the
// options the installer gives and -maxsize are known, and the three that fix the meaning (-extract,
// -direct, -over=all) must be there: a command line that asks for anything else is refused rather
// than half obeyed. `maxSizeVariable` is the value of kMaxSizeVariable (empty when unset).
ParsedArguments ParseArguments(const std::vector<std::string_view>& arguments,
                               std::string_view maxSizeVariable = {});

} // namespace ballotine::pkzip25
