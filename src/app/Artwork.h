#pragma once

#include "catalogue/MapState.h"

#include <QIcon>
#include <QPixmap>
#include <QWidget>

class QPainter;

namespace ballotine {

// The program's pictures, drawn when needed rather than loaded, so every one is our own.

inline constexpr int kMarkerWidth = 24;
inline constexpr int kMarkerHeight = 16;

// The 24x16 marker of a map state: green, red or grey, on a transparent ground, drawn at the
// size and pixel density it is shown at.
QIcon MakeMarkerIcon(MapState state);
// The marker as pixels for a screen of that density.
QPixmap MakeMarker(MapState state, qreal devicePixelRatio = 1.0);
// What a marker means in words, for its tooltip and for assistive technology: colour alone
// tells nothing to many people.
QString MarkerMeaning(MapState state);
// The banner across the top of the main window, drawn into a box of `size`.
void DrawBanner(QPainter& painter, QSize size);
// The banner as a widget: as wide as the window, drawn anew at the screen's density.
class BannerWidget : public QWidget {
public:
    explicit BannerWidget(int height, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
// The application icon: a ballot box with a card going in, at any size.
QIcon MakeAppIcon();

} // namespace ballotine
