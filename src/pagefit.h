#pragma once

#include <QPoint>
#include <QRectF>
#include <QSize>
#include <QSizeF>

namespace orvalith {

// Where a printed picture goes on the page and how large it is drawn, both in
// the painter's coordinates (device pixels), truncated toward zero.
struct PagePlacement
{
    QPoint topLeft;
    QSize size;
};

// Shrinks the picture to the room left on the page, width first and then
// height, keeping its proportions and never enlarging it, and centres it.
// The room is the page rectangle's size less its own left and top offsets.
PagePlacement fitOnPage(const QRectF &pageRect, const QSizeF &imageSize);

} // namespace orvalith
