#pragma once

#include "catalogue/MapState.h"

#include <QIcon>
#include <QPixmap>

namespace ballotine {

// The program's pictures, drawn when needed rather than loaded, so every one is our own.

inline constexpr int kMarkerWidth = 24;
inline constexpr int kMarkerHeight = 16;

// The 24x16 marker of a map state: green, red or grey, on a transparent ground.
QPixmap MakeMarker(MapState state);
// What a marker means in words, for its tooltip and for assistive technology: colour alone
// tells nothing to many people.
QString MarkerMeaning(MapState state);
// The banner across the top of the main window.
QPixmap MakeBanner(int width, int height);
// The application icon: a ballot box with a card going in, in several sizes.
QIcon MakeAppIcon();

} // namespace ballotine
