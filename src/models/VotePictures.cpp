#include "models/VotePictures.h"

#include "sprites/BspPlan.h"

namespace ballotine {

PictureReport MakeVotePictures(const WorkingPaths& paths, std::vector<std::string> maps,
                               bool force) {
    return WriteMissingPictures({paths.mapsDir, paths.voteSpriteDir, std::move(maps), force},
                                ReadBspPlan);
}

} // namespace ballotine
