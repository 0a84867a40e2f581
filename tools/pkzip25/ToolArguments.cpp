#include "pkzip25/ToolArguments.h"

#include "common/Text.h"

namespace ballotine::pkzip25 {

namespace {

struct KnownOption {
    const char* name;
    bool required;
};

// -nofix (do not try to repair a damaged archive) is what we always do.
constexpr KnownOption kOptions[] = {
    {"-extract", true},
    {"-direct", true},
    {"-over=all", true},
    {"-nofix", false},
};

ParsedArguments Refused(std::string error) {
    ParsedArguments parsed;
    parsed.error = std::move(error);
    return parsed;
}

} // namespace

ParsedArguments ParseArguments(const std::vector<std::string_view>& arguments) {
    bool seen[std::size(kOptions)] = {};
    std::vector<std::string_view> paths;
    for (std::string_view argument : arguments) {
        if (argument == "--help" || argument == "-help" || argument == "-h") {
            ParsedArguments parsed;
            parsed.helpWanted = true;
            return parsed;
        }
        if (argument.empty() || argument.front() != '-') {
            paths.push_back(argument);
            continue;
        }
        bool known = false;
        for (std::size_t i = 0; i < std::size(kOptions); ++i) {
            if (EqualsNoCase(argument, kOptions[i].name)) {
                seen[i] = known = true;
            }
        }
        if (!known) {
            return Refused(
                Format("unknown option %.*s", static_cast<int>(argument.size()), argument.data()));
        }
    }
    for (std::size_t i = 0; i < std::size(kOptions); ++i) {
        if (kOptions[i].required && !seen[i]) {
            return Refused(Format("option %s is required", kOptions[i].name));
        }
    }
    if (paths.size() != 2) {
        return Refused("expected an archive and a target folder");
    }
    ParsedArguments parsed;
    parsed.request = ExtractRequest{std::string(paths[0]), std::string(paths[1])};
    return parsed;
}

} // namespace ballotine::pkzip25
