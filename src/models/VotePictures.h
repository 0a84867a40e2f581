#pragma once

#include "catalogue/WorkingPaths.h"
#include "sprites/MissingPictures.h"

#include <string>
#include <vector>

namespace ballotine {

// Draws the vote pictures of the selected mod's maps that have none (with `maps`, of those
// maps; with `force`, replacing pictures too), each showing its map's plan read from the map
// file, or its title card when the plan cannot be read.
PictureReport MakeVotePictures(const WorkingPaths& paths, std::vector<std::string> maps,
                               bool force);

} // namespace ballotine
