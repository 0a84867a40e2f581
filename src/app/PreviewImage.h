#pragma once

#include "mapsettings/PreviewSet.h"

#include <QImage>

namespace ballotine {

// The preview as an image: the 16-bit pixels as RGB565 when the screen depth is exactly 16,
// else the 32-bit pixels.
QImage ToPreviewImage(const PreviewSet& preview);

} // namespace ballotine
