#include "demo/DemoSprite.h"

#include "sprites/BspPlan.h"
#include "sprites/SpriteFile.h"
#include "sprites/VotePictures.h"

namespace ballotine::demo {

std::string MakeMapSprite(std::string_view mapName) {
    return EncodeSprite(ComposeTitleCard(mapName));
}

std::string MakeMapSprite(std::string_view mapName, std::string mapFile) {
    const PlanResult plan = ParseBspPlan(std::move(mapFile));
    if (!plan.plan) {
        return MakeMapSprite(mapName);
    }
    return EncodeSprite(
        ComposePlanPicture(mapName, *plan.plan).value_or(ComposeTitleCard(mapName)));
}

std::string MakeVoteSprite() {
    return EncodeSprite(ComposeVoteSign());
}

std::string MakeBlankSprite() {
    return EncodeSprite(ComposeBlankSlot());
}

} // namespace ballotine::demo
