#include "app/CatalogueImages.h"

#include "app/VectorIcon.h"

#include <QPainter>

namespace ballotine {

namespace {

void DrawBox(QPainter& painter, bool selected) {
    painter.setPen(QPen(QColor(96, 96, 96), 1));
    painter.setBrush(selected ? QColor(190, 190, 190) : QColor(Qt::white));
    painter.drawRect(QRectF(1.5, 1.5, 12, 12));
}

void DrawTick(QPainter& painter) {
    painter.setPen(QPen(QColor(0, 150, 0), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF tick[] = {{4.0, 8.0}, {6.8, 11.0}, {12.0, 4.5}};
    painter.drawPolyline(tick, 3);
}

void DrawCross(QPainter& painter) {
    painter.setPen(QPen(QColor(205, 0, 0), 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(4.5, 4.5), QPointF(11.5, 11.5));
    painter.drawLine(QPointF(11.5, 4.5), QPointF(4.5, 11.5));
}

void DrawChevrons(QPainter& painter, bool right, const QColor& colour) {
    painter.setPen(QPen(colour, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const double x : {2.5, 8.0}) {
        const double tip = right ? x + 4.5 : x;
        const double tail = right ? x : x + 4.5;
        const QPointF chevron[] = {{tail, 3.5}, {tip, 8.0}, {tail, 12.5}};
        painter.drawPolyline(chevron, 3);
    }
}

void DrawImage(QPainter& painter, int image) {
    const bool selected = image >= ImageTickSelected;
    switch (image % ImageTickSelected) {
    case ImageTick:
        DrawBox(painter, selected);
        DrawTick(painter);
        break;
    case ImageCross:
        DrawBox(painter, selected);
        DrawCross(painter);
        break;
    case ImageChevronRight:
        DrawChevrons(painter, true, selected ? QColor(40, 220, 40) : QColor(0, 100, 0));
        break;
    default:
        DrawChevrons(painter, false, selected ? QColor(255, 50, 50) : QColor(140, 0, 0));
        break;
    }
}

bool IsMapCategory(Category category) {
    return category == Category::NewMaps || category == Category::DownloadableMaps;
}

} // namespace

MarkImages MarkImagesOf(NodeId id, const CatalogueNode& node) {
    const bool checked = node.markedChecked;
    if (!id.IsCategory()) {
        return checked ? MarkImages{ImageTick, ImageTickSelected}
                       : MarkImages{ImageCross, ImageCrossSelected};
    }
    const MarkImages chevrons = checked ? MarkImages{ImageChevronLeft, ImageChevronLeftSelected}
                                        : MarkImages{ImageChevronRight, ImageChevronRightSelected};
    // The two map categories switch between both chevrons; the update categories show only
    // the highlighted forms once their check state was passed on.
    if (IsMapCategory(id.category) || !node.passedOn) {
        return chevrons;
    }
    return {chevrons.selected, chevrons.selected};
}

QIcon MakeMarkIcon(MarkImages images) {
    return MakeVectorIcon(QSizeF(kCatalogueImageSize, kCatalogueImageSize),
                          [images](QPainter& painter, QIcon::Mode mode) {
                              DrawImage(painter,
                                        mode == QIcon::Selected ? images.selected : images.normal);
                          });
}

std::array<QPixmap, kCatalogueImageCount> MakeCatalogueImages(qreal devicePixelRatio) {
    std::array<QPixmap, kCatalogueImageCount> images;
    for (int image = 0; image < kCatalogueImageCount; ++image) {
        images[static_cast<std::size_t>(image)] =
            MakeMarkIcon({image, image})
                .pixmap(QSize(kCatalogueImageSize, kCatalogueImageSize), devicePixelRatio);
    }
    return images;
}

} // namespace ballotine
