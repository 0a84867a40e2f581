#pragma once

#include "updates/CatalogueTree.h"

#include <QIcon>
#include <QPixmap>
#include <array>

namespace ballotine {

// The catalogue tree's eight 16x16 images; 4 to 7 are the highlighted forms of 0 to 3, shown
// for the selected item.
enum CatalogueImage : int {
    ImageTick = 0,         // package checked
    ImageCross = 1,        // package not checked
    ImageChevronRight = 2, // category not checked
    ImageChevronLeft = 3,  // category checked
    ImageTickSelected = 4,
    ImageCrossSelected = 5,
    ImageChevronRightSelected = 6,
    ImageChevronLeftSelected = 7,
};
inline constexpr int kCatalogueImageCount = 8;
inline constexpr int kCatalogueImageSize = 16;

// The images that show an item's mark: normally, and while the item is selected.
struct MarkImages {
    int normal;
    int selected;
    bool operator<(const MarkImages& other) const {
        return normal != other.normal ? normal < other.normal : selected < other.selected;
    }
};
MarkImages MarkImagesOf(NodeId id, const CatalogueNode& node);

// An item's mark as an icon: its normal image, the selected one in the Selected mode; drawn
// at the size and pixel density it is shown at.
QIcon MakeMarkIcon(MarkImages images);

// The eight images, drawn by us, as pixels for a screen of that density.
std::array<QPixmap, kCatalogueImageCount> MakeCatalogueImages(qreal devicePixelRatio = 1.0);

} // namespace ballotine
