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
    EXPECT_GT(qGreen(installed.pixel(12, 8)), qRed(installed.pixel(12, 8)));
    EXPECT_GT(qRed(configurable.pixel(12, 8)), qGreen(configurable.pixel(12, 8)));
    EXPECT_EQ(qRed(grey), qGreen(grey));
    EXPECT_EQ(qAlpha(installed.pixel(0, 0)), 0) << "transparent around the marker";

    const auto images = MakeCatalogueImages();
    for (std::size_t a = 0; a < images.size(); ++a) {
        for (std::size_t b = a + 1; b < images.size(); ++b) {
            EXPECT_NE(images[a].toImage(), images[b].toImage()) << a << " and " << b;
        }
    }
}

// Drawn at the screen's density rather than enlarged from one size: as many pixels as the
// density asks for, and not the 1x picture blown up.
TEST(Artwork, PicturesAreDrawnAtEveryDensity) {
    const QImage markerAt1 = MakeMarker(MapState::Installed).toImage();
    for (const qreal ratio : {1.0, 1.25, 1.5, 2.0, 3.0}) {
        const QPixmap pictures[] = {
            MakeMarker(MapState::Configurable, ratio),
            MakeCatalogueImages(ratio)[ImageTick],
            MakeAppIcon().pixmap(QSize(32, 32), ratio),
        };
        const QSize designed[] = {{24, 16}, {16, 16}, {32, 32}};
        for (std::size_t i = 0; i < std::size(pictures); ++i) {
            EXPECT_EQ(pictures[i].size(), (QSizeF(designed[i]) * ratio).toSize()) << ratio << i;
            EXPECT_DOUBLE_EQ(pictures[i].devicePixelRatio(), ratio) << i;
        }
    }
    const QImage markerAt2 = MakeMarker(MapState::Installed, 2.0).toImage();
    for (const auto mode : {Qt::FastTransformation, Qt::SmoothTransformation}) {
        EXPECT_NE(markerAt2.convertToFormat(QImage::Format_ARGB32),
                  markerAt1.scaled(48, 32, Qt::IgnoreAspectRatio, mode)
                      .convertToFormat(QImage::Format_ARGB32));
    }
}

// The vote picture is drawn a whole number of screen pixels per picture pixel, never blurred:
// a chequerboard of single pixels shows only its two colours at 150 %.
TEST(PixelPicture, ShowsPixelArtWithoutBlurAtAnyScale) {
    const struct {
        qreal ratio;
        int pixelsPerPixel;
    } cases[] = {{1.0, 1}, {1.25, 2}, {1.5, 2}, {2.0, 2}, {2.5, 3}, {3.0, 3}};
    for (const auto& c : cases) {
        EXPECT_EQ(PixelPicture::PixelsPerPixel(c.ratio), c.pixelsPerPixel) << c.ratio;
    }

    QImage chequers(kPreviewWidth, kPreviewHeight, QImage::Format_RGB32);
    for (int y = 0; y < kPreviewHeight; ++y) {
        for (int x = 0; x < kPreviewWidth; ++x) {
            chequers.setPixel(x, y, (x + y) % 2 == 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        }
    }
    PixelPicture picture;
    picture.SetImage(chequers);
    picture.resize(200, 110);
    QImage shown(QSize(200, 110) * 1.5, QImage::Format_RGB32);
    shown.setDevicePixelRatio(1.5);
    shown.fill(qRgb(0, 0, 255));
    picture.render(&shown, {}, {}, QWidget::DrawChildren);
    // The middle of the picture: 256 by 128 screen pixels centred in 300 by 165.
    int white = 0;
    for (int y = 40; y < 120; ++y) {
        for (int x = 40; x < 260; ++x) {
            const QRgb pixel = shown.pixel(x, y);
            ASSERT_TRUE(pixel == qRgb(0, 0, 0) || pixel == qRgb(255, 255, 255))
                << x << "," << y << ": " << std::hex << pixel;
            white += pixel == qRgb(255, 255, 255) ? 1 : 0;
        }
    }
    EXPECT_NEAR(white, 80 * 220 / 2, 400) << "half of them white";
    // Every picture pixel is two screen pixels wide, none one and none three.
    std::vector<int> runs{0};
    for (int x = 41; x < 260; ++x) {
        if (shown.pixel(x, 80) == shown.pixel(x - 1, 80)) {
            ++runs.back();
        } else {
            runs.push_back(0);
        }
    }
    for (std::size_t run = 1; run + 1 < runs.size(); ++run) {
        EXPECT_EQ(runs[run], 1) << "run " << run << " is not two pixels wide";
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
