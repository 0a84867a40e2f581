#pragma once

#include "sprites/MapPlan.h"

#include <filesystem>
#include <string>
#include <vector>

namespace ballotine {

// Which maps of a mod get vote pictures.
struct PictureRequest {
    std::filesystem::path mapsFolder;    // the mod's maps/
    std::filesystem::path pictureFolder; // the mod's sprites/vote/, made when missing
    // Map names ("2fort" or "2fort.bsp"), matched without regard to case; empty: every map of
    // the maps folder.
    std::vector<std::string> maps;
    bool force = false; // also draw maps that have a picture, replacing it
};

// One picture written.
struct PictureWritten {
    std::string map;            // as the map file spells it
    std::filesystem::path file; // the sprite written
    bool withPlan = false;      // false: a title card
    bool replaced = false;      // a picture was there before
};

struct PictureNote {
    enum class Kind {
        TitleCardOnly, // the map's plan could not be read; its title card was written
        Kept,          // a named map has a picture already and `force` was not given
        Skipped,       // no such map, or a name that cannot be a picture's file name
        NotWritten,    // the picture could not be written; any earlier one is unchanged
    };
    std::string map;
    Kind kind = Kind::Skipped;
    std::string text; // one line for the user, naming the map
};

struct PictureReport {
    std::vector<PictureWritten> written; // in the order written
    std::vector<PictureNote> notes;
};

// Draws a vote picture for each map of the request that has none (or for each, with
// `force`): its plan from `plans` under its name, or its title card when the source has no
// plan. A picture is written to a temporary file and renamed into place, so a failure never
// leaves a damaged picture; the others go on. The vote map itself ("vote", "blank") gets no
// picture of this kind.
PictureReport WriteMissingPictures(const PictureRequest& request, const PlanSource& plans);

} // namespace ballotine
