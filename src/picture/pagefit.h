#pragma once

#include <QPageLayout>
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

// Where a printer of the given resolution draws the picture, in its device
// pixels: the place and size that fitOnPage gives on a printer of the screen's
// resolution, where one picture pixel is one device pixel, carried over to the
// finer printer so that the picture keeps them on paper.
QRectF printTarget(const QPageLayout &layout, int printerDpi, int screenDpi,
                   const QSizeF &imageSize);

} // namespace orvalith
