#pragma once

#include "kit/KitFiles.h"

namespace ballotine::kit {

// The kit's own pictures (vote.spr, blank.spr). The one place the kit takes them from: the
// vote-picture drawing of src/sprites/.
KitSprites DrawKitSprites();

} // namespace ballotine::kit
