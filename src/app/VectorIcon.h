#pragma once

#include <QIcon>
#include <QSizeF>
#include <functional>

class QPainter;

namespace ballotine {

// Draws a picture into a square or box of its design size (the painter is scaled to it).
using IconPainter = std::function<void(QPainter& painter, QIcon::Mode mode)>;

// An icon drawn by code at whatever size and pixel density it is shown at, so it stays crisp
// at any scale; a disabled one is drawn faint.
QIcon MakeVectorIcon(QSizeF designSize, IconPainter paint);

} // namespace ballotine
