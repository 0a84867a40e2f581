#include "kit/KitSprites.h"

#include "sprites/SpriteFile.h"
#include "sprites/VotePictures.h"

namespace ballotine::kit {

KitSprites DrawKitSprites() {
    return {EncodeSprite(ComposeVoteSign()), EncodeSprite(ComposeBlankSlot())};
}

} // namespace ballotine::kit
