#include "app/PreviewImage.h"

#include "app/Artwork.h"

#include <QImage>
#include <gtest/gtest.h>

namespace ballotine {
namespace {

TEST(PreviewImage, ShowsThe16BitPixelsOnlyOnA16BitScreen) {
    PreviewSet preview;
    preview.pixels16.fill(ToPixel16(255, 0, 0));
    preview.pixels32.fill(ToPixel32(0, 0, 255));

    PreparePreview(preview, 16);
    const QImage sixteen = ToPreviewImage(preview);
    EXPECT_EQ(sixteen.format(), QImage::Format_RGB16);
    EXPECT_EQ(sixteen.pixel(127, 63), qRgb(255, 0, 0));

    for (const int depth : {24, 32, 8, 15}) {
        PreparePreview(preview, depth);
        const QImage image = ToPreviewImage(preview);
        EXPECT_EQ(image.size(), QSize(128, 64));
        EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 255)) << depth;
    }
}

TEST(Artwork, MarkersAre24By16AndTellTheStatesApart) {
    const QImage installed = MakeMarker(MapState::Installed).toImage();
    const QImage configurable = MakeMarker(MapState::Configurable).toImage();
    const QImage missing = MakeMarker(MapState::NotDownloaded).toImage();
    EXPECT_EQ(installed.size(), QSize(24, 16));
    const QPoint middle(12, 8);
    EXPECT_GT(qGreen(installed.pixel(middle)), qRed(installed.pixel(middle)));
    EXPECT_GT(qRed(configurable.pixel(middle)), qGreen(configurable.pixel(middle)));
    const QRgb grey = missing.pixel(middle);
    EXPECT_EQ(qRed(grey), qGreen(grey));
    EXPECT_EQ(qAlpha(installed.pixel(0, 0)), 0) << "transparent around the marker";
}

} // namespace
} // namespace ballotine
