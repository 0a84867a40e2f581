#include "app/PreviewImage.h"

#include <cstring>

namespace ballotine {

QImage ToPreviewImage(const PreviewSet& preview) {
    if (preview.UsesPixels16()) {
        QImage image(kPreviewWidth, kPreviewHeight, QImage::Format_RGB16);
        for (int y = 0; y < kPreviewHeight; ++y) {
            std::memcpy(image.scanLine(y),
                        &preview.pixels16[static_cast<std::size_t>(y * kPreviewWidth)],
                        kPreviewWidth * sizeof(std::uint16_t));
        }
        return image;
    }
    QImage image(kPreviewWidth, kPreviewHeight, QImage::Format_RGB32);
    for (int y = 0; y < kPreviewHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kPreviewWidth; ++x) {
            // Qt's 32-bit RGB wants the top byte set; the colour bits are the preview's own.
            line[x] =
                0xFF000000U | preview.pixels32[static_cast<std::size_t>(y * kPreviewWidth + x)];
        }
    }
    return image;
}

} // namespace ballotine
