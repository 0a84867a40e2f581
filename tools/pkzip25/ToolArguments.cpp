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

// The value of an option of the form NAME=VALUE, when `argument` is that option.
std::optional<std::string_view> ValueOf(std::string_view argument, std::string_view name) {
    if (!StartsWithNoCase(argument, name)) {
        return std::nullopt;
    }
    return argument.substr(name.size());
}

} // namespace

ParsedArguments ParseArguments(const std::vector<std::string_view>& arguments,
                               std::string_view maxSizeVariable) {
    constexpr std::string_view kMaxSizeOption = "-maxsize=";
    bool seen[std::size(kOptions)] = {};
    std::vector<std::string_view> paths;
    std::uint64_t maxTotal = kDefaultMaxTotal;
    bool sizeGiven = false;
    ProtectedPlaces places;
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
        if (StartsWithNoCase(argument, kMaxSizeOption)) {
            if (!ParseSize(argument.substr(kMaxSizeOption.size()), maxTotal)) {
                return Refused(Format("%.*s is not a size (bytes, or a number and K, M or G)",
                                      static_cast<int>(argument.size()), argument.data()));
            }
            sizeGiven = true;
            continue;
        }
        if (const auto folder = ValueOf(argument, "-protect=")) {
            places.Protect(*folder);
            continue;
        }
        if (const auto pattern = ValueOf(argument, "-allow=")) {
            places.Allow(*pattern);
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
    if (!sizeGiven && !maxSizeVariable.empty() && !ParseSize(maxSizeVariable, maxTotal)) {
        return Refused(Format("%s=%.*s is not a size (bytes, or a number and K, M or G)",
                              kMaxSizeVariable, static_cast<int>(maxSizeVariable.size()),
                              maxSizeVariable.data()));
    }
    if (paths.size() != 2) {
        return Refused("expected an archive and a target folder");
    }
    ParsedArguments parsed;
    parsed.request =
        ExtractRequest{std::string(paths[0]), std::string(paths[1]), maxTotal, std::move(places)};
    return parsed;
}

} // namespace ballotine::pkzip25
