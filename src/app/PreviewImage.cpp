#include "app/PreviewImage.h"

#include <QPainter>
#include <cmath>
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

PixelPicture::PixelPicture(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    SetImage(QImage(kPreviewWidth, kPreviewHeight, QImage::Format_RGB32));
    m_image.fill(Qt::black);
}

void PixelPicture::SetImage(QImage image) {
    m_image = std::move(image);
    m_scaled = QImage();
    update();
}

int PixelPicture::PixelsPerPixel(qreal devicePixelRatio) {
    // A hair below a whole ratio counts as that ratio.
    return std::max(1, static_cast<int>(std::ceil(devicePixelRatio - 0.05)));
}

QSizeF PixelPicture::DrawnSize(qreal devicePixelRatio) {
    return QSizeF(kPreviewWidth, kPreviewHeight) * PixelsPerPixel(devicePixelRatio) /
           devicePixelRatio;
}

QSize PixelPicture::sizeHint() const {
    const QSizeF drawn = DrawnSize(devicePixelRatioF());
    const int frame = 2 * frameWidth() + 2;
    return {static_cast<int>(std::ceil(drawn.width())) + frame,
            static_cast<int>(std::ceil(drawn.height())) + frame};
}

QSize PixelPicture::minimumSizeHint() const {
    return sizeHint();
}

void PixelPicture::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    // Screen pixels per unit as painted: the screen's density, or the scale of whatever this
    // is rendered into.
    const QTransform& toDevice = painter.deviceTransform();
    const qreal ratio = toDevice.type() <= QTransform::TxScale && toDevice.m11() > 0
                            ? toDevice.m11()
                            : devicePixelRatioF();
    const int factor = PixelsPerPixel(ratio);
    if (m_scaled.isNull() || m_scaled.width() != m_image.width() * factor) {
        m_scaled =
            m_image.scaled(m_image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    m_scaled.setDevicePixelRatio(ratio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QSizeF drawn = DrawnSize(ratio);
    painter.drawImage(QPointF((width() - drawn.width()) / 2, (height() - drawn.height()) / 2),
                      m_scaled);
}

} // namespace ballotine
