#pragma once

#include "sprites/Picture.h"

#include <string>

namespace ballotine {

// The picture as a version 2 sprite file: header, 256-colour palette, one single frame
// centred on its origin, drawn with its colours as they are (no transparency). The sprite is
// of the oriented type, so it lies flat on the vote map's wall; the other types turn to face
// whoever looks at them.
std::string EncodeSprite(const Picture& picture);

// The picture as a binary portable pixmap (PPM), for documents and for looking at it.
std::string EncodePpm(const Picture& picture);

} // namespace ballotine
