#include "app/ElidedText.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <algorithm>

namespace ballotine {

namespace {

// Room a cut text keeps at least: a few characters and the ellipsis.
constexpr int kShortestCharacters = 4;

} // namespace

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setWordWrap(false);
}

void ElidedLabel::SetText(const QString& text) {
    setText(text);
    ShowWholeTextAsTip();
}

bool ElidedLabel::IsCut() const {
    return fontMetrics().horizontalAdvance(text()) > contentsRect().width();
}

QSize ElidedLabel::sizeHint() const {
    return minimumSizeHint();
}

QSize ElidedLabel::minimumSizeHint() const {
    const QMargins margins = contentsMargins();
    return {fontMetrics().averageCharWidth() * kShortestCharacters + margins.left() +
                margins.right() + 2 * margin(),
            QLabel::minimumSizeHint().height()};
}

void ElidedLabel::paintEvent(QPaintEvent* event) {
    if (!IsCut()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    const QRect room =
        contentsRect().marginsRemoved(QMargins(margin(), margin(), margin(), margin()));
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, room.width());
    style()->drawItemText(&painter, room, QStyle::visualAlignment(layoutDirection(), alignment()),
                          palette(), isEnabled(), shown, foregroundRole());
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    ShowWholeTextAsTip();
}

void ElidedLabel::ShowWholeTextAsTip() {
    setToolTip(IsCut() ? text() : QString());
}

ElidedGroupBox::ElidedGroupBox(const QString& title, QWidget* parent)
    : QGroupBox(title, parent), m_wholeTitle(title) {}

void ElidedGroupBox::SetWholeTitle(const QString& title) {
    m_wholeTitle = title;
    FitTitle();
}

QSize ElidedGroupBox::minimumSizeHint() const {
    // The contents within the frame; not the title, which is cut to what they leave.
    return QWidget::minimumSizeHint();
}

void ElidedGroupBox::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    FitTitle();
}

void ElidedGroupBox::FitTitle() {
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    // What the frame leaves beside the title: the style's indent on either side.
    const QRect label =
        style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
    const int indent = label.left() > 0 ? label.left() : fontMetrics().averageCharWidth();
    const int room = std::max(0, width() - 2 * indent - fontMetrics().horizontalAdvance(u' '));
    const QString shown = fontMetrics().elidedText(m_wholeTitle, Qt::ElideRight, room);
    if (shown != title()) {
        setTitle(shown);
    }
    setToolTip(shown != m_wholeTitle ? m_wholeTitle : QString());
}

} // namespace ballotine
