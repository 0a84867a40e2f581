#pragma once

#include "mapsettings/PreviewSet.h"

#include <QFrame>
#include <QImage>

namespace ballotine {

// The preview as an image: the 16-bit pixels as RGB565 when the screen depth is exactly 16,
// else the 32-bit pixels.
QImage ToPreviewImage(const PreviewSet& preview);

// The vote picture in a sunken frame, drawn at a whole number of screen pixels per picture
// pixel (nearest neighbour, the next whole multiple of the screen's density), so pixel art
// stays sharp at 150 % or 200 %; the frame takes the size that needs.
class PixelPicture : public QFrame {
    Q_OBJECT

public:
    explicit PixelPicture(QWidget* parent = nullptr);

    void SetImage(QImage image);
    const QImage& Image() const { return m_image; }
    // Screen pixels per picture pixel on a screen of that density.
    static int PixelsPerPixel(qreal devicePixelRatio);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The picture's size in the window's units on a screen of that density.
    static QSizeF DrawnSize(qreal devicePixelRatio);

    QImage m_image;
    QImage m_scaled; // m_image at the last PixelsPerPixel(), made anew when that changes
};

} // namespace ballotine
