#pragma once

#include "common/Text.h"

#include <filesystem>
#include <istream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ballotine {

// The titles publish.conf gives one map.
struct KeySettings {
    std::string key; // as written
    int line = 0;    // where it is first named
    std::optional<std::string> mapTitle;
    std::optional<std::string> entityTitle;
};

// What publish.conf says about one mod folder.
struct ModSettings {
    std::string folder;
    int line = 0;                             // of its section header
    std::optional<std::string> title;         // the mod's title in the mod update list
    std::optional<std::string> packageTitle;  // its mod package's title
    std::optional<std::string> packageFolder; // the folder whose tree the mod package holds
    std::map<std::string, KeySettings> keys;  // by the key in lower case

    const KeySettings* FindKey(std::string_view key) const;
};

// The optional SOURCE/publish.conf: titles and mirrors.
//
//   # a comment
//   mirror = https://mirror.example.org/maps   every package is also there, same path
//   [tfc]                                      the mod folder tfc
//   title = Team Fortress Classic              the mod's title in the mod update list
//   map 2fort = 2Fort - Capture The Flag       the title of a map's package
//   entities 2fort = 2Fort server sizes        the title of a map's entity package
//   package = TFC map pack 2                   publish a mod package with this title
//   package-folder = packs/tfc                 of this folder (below SOURCE), whose tree is
//                                              unpacked into the game folder
struct PublishConfig {
    std::optional<std::string> mirror;
    std::vector<ModSettings> mods;

    const ModSettings* Find(std::string_view folder) const;
};

inline constexpr const char* kPublishConfigName = "publish.conf";

// Reads publish.conf strictly: anything it does not understand is an error naming its line
// ("line 4: ..."), and nothing is published.
std::optional<PublishConfig> ParsePublishConfig(std::istream& in, std::string& error);

} // namespace ballotine
