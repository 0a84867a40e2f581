#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

// The files a map needs beside its own, as the game finds them: paths relative to the mod's
// folder ("sound/ambience/wind.wav", "halflife.wad"), which the game looks for in the mod
// first and then in the base game's folder.
struct MapReferences {
    std::vector<std::string> files;   // "/" between folders, each once (letter case ignored)
    std::vector<std::string> refused; // references that are no plain path below the mod, as written

    // Adds a path written in a map's files: "\" becomes "/"; absolute paths, drive letters,
    // ".." and characters outside printable ASCII are refused.
    void Add(std::string_view written);
};

// A path written in a map's files as a path below the mod, "/" between plain components;
// nothing for absolute paths, drive letters, "..", empty components and characters outside
// printable ASCII.
std::optional<std::string> PlainRelativePath(std::string_view written);

// What the entity text names: the world's wad list (by file name, as the engine looks them up)
// and sky (the six sides of gfx/env/NAME*.tga), and every value that names a sound (.wav,
// below sound/), a model (.mdl), a sprite (.spr) or music (.mp3). Text that does not parse is
// read up to where it breaks.
MapReferences ReferencesInEntityText(std::string_view text);

// A detail texture list (maps/MAP_detail.txt): lines "texture detailtexture xscale yscale",
// the detail textures below gfx/ as .tga files.
void AddDetailTextures(std::string_view detailList, MapReferences& references);

// A resource list (maps/MAP.res): one path below the mod per line, "//" comments.
void AddResourceList(std::string_view resourceList, MapReferences& references);

} // namespace ballotine
