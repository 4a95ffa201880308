#include "pagefit.h"

namespace orvalith {

PagePlacement fitOnPage(const QRectF &pageRect, const QSizeF &imageSize)
{
    const qreal availableWidth = pageRect.width() - pageRect.x();
    const qreal availableHeight = pageRect.height() - pageRect.y();
    qreal width = imageSize.width();
    qreal height = imageSize.height();

    // The height step works on the result of the width step, so a picture
    // that is both too wide and too tall ends up inside both limits.
    if (width > availableWidth) {
        height = height * availableWidth / width;
        width = availableWidth;
    }
    if (height > availableHeight) {
        width = width * availableHeight / height;
        height = availableHeight;
    }

    const qreal left = (availableWidth - width) * 0.5 + pageRect.x();
    const qreal top = (availableHeight - height) * 0.5 + pageRect.y();
    // static_cast truncates toward zero; rounding could push the picture one
    // pixel past the room it was given.
    return {QPoint(static_cast<int>(left), static_cast<int>(top)),
            QSize(static_cast<int>(width), static_cast<int>(height))};
}

QRectF printTarget(const QPageLayout &layout, int printerDpi, int screenDpi,
                   const QSizeF &imageSize)
{
    const PagePlacement placement = fitOnPage(QRectF(layout.paintRectPixels(screenDpi)), imageSize);
    const qreal scale = qreal(printerDpi) / qreal(screenDpi);
    return {QPointF(placement.topLeft) * scale, QSizeF(placement.size) * scale};
}

} // namespace orvalith
