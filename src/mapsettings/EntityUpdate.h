#pragma once

#include "mapsettings/ReferenceData.h"

#include <string>
#include <string_view>

namespace ballotine {

struct Services;

inline constexpr const char* kUpdateQuestion =
    "Are you sure you wish to update this map with the selected entities?";
inline constexpr const char* kReferenceDataFailedMessage =
    "Failed to extract Reference Data. Aborting...";
inline constexpr const char* kEntityFileFailedMessage =
    "An error has occurred creating the entity file for this map. Aborting...";
inline constexpr const char* kEntityCompileFailedMessage =
    "An error has occurred compiling the new entities into the map. Aborting...";
inline constexpr const char* kMapTextFailedMessage =
    "An error has occurred creating the map textfile'.";
inline constexpr const char* kEntityUpdateSucceededMessage =
    "New Entities have been successfully compiled into this map";

// The folders the map settings dialog works with: copies of the working paths.
struct MapSettingsPaths {
    std::string workDir;       // where the entity tool lives
    std::string modWorkDir;    // servertypes.conf and Entities/
    std::string voteSpriteDir; // the map's vote sprite
    std::string mapsDir;       // the map, its .ent and .txt
};

// Fills the template with the substitutions, line by line, into the entity text file. The file
// is replaced whole or not at all. False when the template cannot be read, a filled line would
// grow past any entity text's length (values that hold later keys), or the file written.
bool WriteEntityText(const ReferenceData& data, const std::string& entityTextPath);

// Copies the reference file's "#TEXT#" section (up to a line beginning with "#INFO#") into the
// map's description file; no section leaves the file empty. Replaced whole or not at all.
bool WriteMapText(const std::string& referencePath, const std::string& mapTextPath);

// Rewrites the map's entities for one server size: asks first, fills the template, imports it
// with the entity tool, writes the map's description and removes the entity text. Every step
// reports its own failure and stops the update. True only when the whole update succeeded.
// An empty key does nothing. `data` receives what the reference file gave.
bool UpdateMapEntities(const MapSettingsPaths& paths, std::string_view mapName,
                       std::string_view key, Services& services, ReferenceData& data);

} // namespace ballotine
