#include "app/Artwork.h"

#include "app/CatalogueImages.h"
#include "app/PreviewImage.h"

#include <QImage>
#include <gtest/gtest.h>

namespace ballotine {
namespace {

TEST(PreviewImage, ShowsThe16BitPixelsOnlyOnA16BitScreen) {
    PreviewSet preview;
    preview.pixels16.fill(ToPixel16(255, 0, 0));
    preview.pixels32.fill(ToPixel32(0, 0, 255));
    for (const int depth : {16, 24, 32, 8, 15}) {
        PreparePreview(preview, depth);
        const QImage image = ToPreviewImage(preview);
        EXPECT_EQ(image.size(), QSize(128, 64));
        EXPECT_EQ(image.format() == QImage::Format_RGB16, depth == 16) << depth;
        EXPECT_EQ(image.pixel(127, 63), depth == 16 ? qRgb(255, 0, 0) : qRgb(0, 0, 255)) << depth;
    }
}

TEST(Artwork, MarkersAndCatalogueImagesTellTheirStatesApart) {
    const QImage installed = MakeMarker(MapState::Installed).toImage();
    const QImage configurable = MakeMarker(MapState::Configurable).toImage();
    const QRgb grey = MakeMarker(MapState::NotDownloaded).toImage().pixel(12, 8);
    EXPECT_EQ(installed.size(), QSize(24, 16));
    EXPECT_GT(qGreen(installed.pixel(12, 8)), qRed(installed.pixel(12, 8)));
    EXPECT_GT(qRed(configurable.pixel(12, 8)), qGreen(configurable.pixel(12, 8)));
    EXPECT_EQ(qRed(grey), qGreen(grey));
    EXPECT_EQ(qAlpha(installed.pixel(0, 0)), 0) << "transparent around the marker";

    const auto images = MakeCatalogueImages();
    for (std::size_t a = 0; a < images.size(); ++a) {
        EXPECT_EQ(images[a].size(), QSize(16, 16));
        for (std::size_t b = a + 1; b < images.size(); ++b) {
            EXPECT_NE(images[a].toImage(), images[b].toImage()) << a << " and " << b;
        }
    }
}

// The map categories switch between both chevrons; the update categories show only the
// highlighted ones once their check was passed on; a package shows a tick or a cross.
TEST(CatalogueImages, MarksShowCheckStatesAsTheTreeDrawsThem) {
    const auto node = [](bool checked, bool passedOn) {
        CatalogueNode made;
        made.markedChecked = checked;
        made.passedOn = passedOn;
        return made;
    };
    const struct {
        NodeId id;
        CatalogueNode node;
        int normal;
        int selected;
    } cases[] = {
        {{Category::NewMaps, 0}, node(true, false), ImageTick, ImageTickSelected},
        {{Category::NewMaps, 0}, node(false, false), ImageCross, ImageCrossSelected},
        {{Category::NewMaps, -1}, node(false, false), ImageChevronRight, ImageChevronRightSelected},
        {{Category::NewMaps, -1}, node(true, true), ImageChevronLeft, ImageChevronLeftSelected},
        {{Category::DownloadableMaps, -1},
         node(false, true),
         ImageChevronRight,
         ImageChevronRightSelected},
        {{Category::EntityUpdates, -1},
         node(false, false),
         ImageChevronRight,
         ImageChevronRightSelected},
        {{Category::EntityUpdates, -1},
         node(true, true),
         ImageChevronLeftSelected,
         ImageChevronLeftSelected},
        {{Category::FullMapUpdates, -1},
         node(false, true),
         ImageChevronRightSelected,
         ImageChevronRightSelected},
    };
    for (const auto& c : cases) {
        const MarkImages images = MarkImagesOf(c.id, c.node);
        EXPECT_EQ(images.normal, c.normal) << static_cast<int>(c.id.category) << c.id.child;
        EXPECT_EQ(images.selected, c.selected) << static_cast<int>(c.id.category) << c.id.child;
    }
}

} // namespace
} // namespace ballotine
