#pragma once

#include "sprites/MissingPictures.h"

#include <string>

namespace ballotine {

inline constexpr const char* kNoPicturesDrawnMessage =
    "Every map of this mod has a vote picture already.";
// Notes beyond this many are counted, not listed, so the message fits on a screen.
inline constexpr std::size_t kListedPictureNotes = 12;

// The message after "Make Vote Pictures": how many pictures were drawn (and how many of them
// are title cards only), then the notes, one a line.
std::string VotePicturesMessage(const PictureReport& report);

} // namespace ballotine
