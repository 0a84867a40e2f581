#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

struct WorkingPaths;

struct InstallMapping {
    std::string key;    // a file extension without the dot, or a folder name
    std::string target; // where it goes (see InstallMappings)
};

// Where the top-level files and folders of an unpacked package go, from "mappings.conf" in the
// mod's working folder:
//
//   #FILES#            extension target   ("@" is the game folder, else a folder below it)
//   bsp tfc\maps
//   #DIRS#             folder target      ("@" game folder, "*" the folder above a "Sierra"
//   sound \tfc         folder, else appended to the game folder as written)
//   #END#
struct InstallMappings {
    std::vector<InstallMapping> files; // targets end with the separator
    std::vector<InstallMapping> dirs;  // targets without a trailing separator

    // The destination of a top-level file, by the text after its last dot; nothing when the
    // name has no dot or no mapping matches.
    std::optional<std::string> MapFile(std::string_view name) const;
    // The destination of a top-level folder (target, separator, name); nothing when no
    // mapping matches.
    std::optional<std::string> MapDirectory(std::string_view name) const;
};

inline constexpr const char* kMappingsFileName = "mappings.conf";

// Empties both tables and reads "mappings.conf"; false when it cannot be opened.
bool LoadMappings(InstallMappings& mappings, const WorkingPaths& paths);

// Appends `name` to `folder` with exactly one separator between them.
std::string JoinPath(std::string_view folder, std::string_view name);

} // namespace ballotine
