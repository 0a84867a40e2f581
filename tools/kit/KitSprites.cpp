#include "kit/KitSprites.h"

#include "demo/DemoSprite.h"

namespace ballotine::kit {

// Until the vote-picture code draws them, the demo's title sign and empty card stand in.
KitSprites DrawKitSprites() {
    return {demo::MakeVoteSprite(), demo::MakeBlankSprite()};
}

} // namespace ballotine::kit
