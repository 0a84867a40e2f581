#include "demo/DemoSprite.h"

#include "sprites/SpriteFile.h"
#include "sprites/VotePictures.h"

namespace ballotine::demo {

std::string MakeMapSprite(std::string_view mapName) {
    return EncodeSprite(ComposeTitleCard(mapName));
}

std::string MakeMapSprite(std::string_view mapName, const MapPlan& plan) {
    return EncodeSprite(ComposePlanPicture(mapName, plan).value_or(ComposeTitleCard(mapName)));
}

std::string MakeVoteSprite() {
    return EncodeSprite(ComposeVoteSign());
}

std::string MakeBlankSprite() {
    return EncodeSprite(ComposeBlankSlot());
}

} // namespace ballotine::demo
