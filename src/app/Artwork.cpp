#include "app/Artwork.h"

#include "app/VectorIcon.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace ballotine {

namespace {

QColor MarkerColour(MapState state) {
    switch (state) {
    case MapState::Installed:
        return QColor(0x2E, 0xB8, 0x3A);
    case MapState::Configurable:
        return QColor(0xD8, 0x2C, 0x2C);
    case MapState::NotDownloaded:
        return QColor(0x9A, 0x9A, 0x9A);
    }
    return Qt::black;
}

// The ballot box drawn into a square of `size` pixels at the painter's origin.
void DrawBallotBox(QPainter& painter, qreal size) {
    const qreal unit = size / 64.0;
    painter.save();
    painter.scale(unit, unit);
    // The card, half-way into the slot, with a tick on it.
    painter.setPen(QPen(QColor(0x33, 0x33, 0x33), 2));
    painter.setBrush(QColor(0xFF, 0xFB, 0xEE));
    painter.drawRoundedRect(QRectF(20, 4, 24, 26), 2, 2);
    painter.setPen(QPen(QColor(0x1D, 0x8A, 0x2E), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath tick;
    tick.moveTo(25, 16);
    tick.lineTo(30, 22);
    tick.lineTo(39, 9);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(tick);
    // The box in front of it.
    QLinearGradient body(0, 26, 0, 60);
    body.setColorAt(0, QColor(0x3C, 0x6E, 0xC8));
    body.setColorAt(1, QColor(0x1E, 0x3F, 0x86));
    painter.setPen(QPen(QColor(0x14, 0x2A, 0x5C), 2));
    painter.setBrush(body);
    painter.drawRoundedRect(QRectF(6, 26, 52, 34), 4, 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x0D, 0x1C, 0x3E));
    painter.drawRoundedRect(QRectF(16, 29, 32, 4), 2, 2);
    painter.setBrush(QColor(255, 255, 255, 60));
    painter.drawRect(QRectF(10, 38, 44, 3));
    painter.restore();
}

} // namespace

QIcon MakeMarkerIcon(MapState state) {
    const QColor colour = MarkerColour(state);
    return MakeVectorIcon(QSizeF(kMarkerWidth, kMarkerHeight),
                          [colour](QPainter& painter, QIcon::Mode) {
                              QRadialGradient shine(QPointF(10.5, 6.0), 7);
                              shine.setColorAt(0, colour.lighter(150));
                              shine.setColorAt(1, colour);
                              painter.setPen(QPen(colour.darker(160), 1));
                              painter.setBrush(shine);
                              painter.drawEllipse(QRectF(6.5, 2.5, 11, 11));
                          });
}

QPixmap MakeMarker(MapState state, qreal devicePixelRatio) {
    return MakeMarkerIcon(state).pixmap(QSize(kMarkerWidth, kMarkerHeight), devicePixelRatio);
}

QString MarkerMeaning(MapState state) {
    switch (state) {
    case MapState::Installed:
        return QStringLiteral("installed");
    case MapState::Configurable:
        return QStringLiteral("has server-size settings");
    case MapState::NotDownloaded:
        return QStringLiteral("not downloaded");
    }
    return {};
}

void DrawBanner(QPainter& painter, QSize size) {
    const int width = size.width();
    const int height = size.height();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient sky(0, 0, width, height);
    sky.setColorAt(0, QColor(0x12, 0x24, 0x4E));
    sky.setColorAt(1, QColor(0x1F, 0x6F, 0x8B));
    painter.fillRect(QRect(QPoint(0, 0), size), sky);
    // A few faint stripes, like the doors of the vote map's hall.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 18));
    for (int x = width - 40; x > width / 2; x -= 26) {
        painter.drawRect(QRectF(x, 0, 12, height));
    }
    painter.save();
    painter.translate(14, 5);
    DrawBallotBox(painter, height - 10);
    painter.restore();

    QFont title = painter.font();
    title.setPixelSize(height * 2 / 5);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    const int textLeft = height + 16;
    painter.drawText(QRect(textLeft, 4, width - textLeft, height * 3 / 5),
                     Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("Ballotine"));
    QFont subtitle = painter.font();
    subtitle.setPixelSize(std::max(10, height / 5));
    subtitle.setBold(false);
    painter.setFont(subtitle);
    painter.setPen(QColor(0xC8, 0xE0, 0xF0));
    painter.drawText(QRect(textLeft, height * 3 / 5 + 2, width - textLeft, height * 2 / 5 - 2),
                     Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("Vote maps for Team Fortress Classic servers"));
    painter.restore();
}

BannerWidget::BannerWidget(int height, QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setFixedHeight(height);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BannerWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawBanner(painter, size());
}

QIcon MakeAppIcon() {
    return MakeVectorIcon(QSizeF(64, 64),
                          [](QPainter& painter, QIcon::Mode) { DrawBallotBox(painter, 64); });
}

} // namespace ballotine
