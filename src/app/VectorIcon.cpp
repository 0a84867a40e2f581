#include "app/VectorIcon.h"

#include <QIconEngine>
#include <QPainter>
#include <algorithm>

namespace ballotine {

namespace {

constexpr qreal kDisabledOpacity = 0.45;

class VectorIconEngine final : public QIconEngine {
public:
    VectorIconEngine(QSizeF designSize, IconPainter paint)
        : m_designSize(designSize), m_paint(std::move(paint)) {}

    // Drawn straight into the painter's device, so a scaled painter stays sharp; QIcon's own
    // pixmaps (the default pixmap()) are drawn through here at their full pixel size.
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        const qreal scale =
            std::min(rect.width() / m_designSize.width(), rect.height() / m_designSize.height());
        const QSizeF drawn = m_designSize * scale;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.x() + (rect.width() - drawn.width()) / 2,
                           rect.y() + (rect.height() - drawn.height()) / 2);
        painter->scale(scale, scale);
        if (mode == QIcon::Disabled) {
            painter->setOpacity(kDisabledOpacity);
        }
        m_paint(*painter, mode);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QIconEngine* clone() const override { return new VectorIconEngine(m_designSize, m_paint); }

private:
    QSizeF m_designSize;
    IconPainter m_paint;
};

} // namespace

QIcon MakeVectorIcon(QSizeF designSize, IconPainter paint) {
    return QIcon(new VectorIconEngine(designSize, std::move(paint)));
}

} // namespace ballotine
