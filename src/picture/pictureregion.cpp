#include "pictureregion.h"

#include "picturestore.h"

#include <QImageReader>
#include <QPainter>
#include <QtMath>

namespace {

// The page's pictures come from the store; a document given a file or a resource
// directly (as a test may) has it read here, upright as the page's image shows it.
QImage pictureAt(const QUrl &url)
{
    if (PictureStore::isStored(url))
        return PictureStore::instance().decoded(url.path().mid(1));
    QString path;
    if (url.isLocalFile())
        path = url.toLocalFile();
    else if (url.scheme() == QLatin1String("qrc"))
        path = QLatin1Char(':') + url.path();
    if (path.isEmpty())
        return QImage();
    QImageReader reader(path);
    reader.setAutoTransform(true);
    return reader.read();
}

} // namespace

PictureRegion::PictureRegion(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(false);
    setSmooth(false);
}

void PictureRegion::setSource(const QUrl &source)
{
    if (source == m_source)
        return;
    m_source = source;
    m_picture = pictureAt(source);
    emit sourceChanged();
    update();
}

void PictureRegion::setOrigin(const QPointF &origin)
{
    if (origin == m_origin)
        return;
    m_origin = origin;
    emit originChanged();
    update();
}

void PictureRegion::setZoom(qreal zoom)
{
    if (qFuzzyCompare(zoom, m_zoom) || zoom <= 0)
        return;
    m_zoom = zoom;
    emit zoomChanged();
    update();
}

QRect PictureRegion::pixelsSeen(const QSize &picture, const QPointF &origin, qreal zoom,
                                const QSizeF &size)
{
    if (zoom <= 0)
        return QRect();
    const QRectF seen(-origin.x() / zoom, -origin.y() / zoom, size.width() / zoom,
                      size.height() / zoom);
    // QRect's right and bottom are the last pixel in: one less than the edge.
    return QRect(QPoint(qFloor(seen.left()), qFloor(seen.top())),
                 QPoint(qCeil(seen.right()) - 1, qCeil(seen.bottom()) - 1))
        .intersected(QRect(QPoint(0, 0), picture));
}

// Only the whole picture pixels that reach into the item are drawn.
void PictureRegion::paint(QPainter *painter)
{
    if (m_picture.isNull())
        return;
    const QRect pixels = pixelsSeen(m_picture.size(), m_origin, m_zoom, size());
    if (pixels.isEmpty())
        return;
    const QRectF target(m_origin.x() + pixels.x() * m_zoom, m_origin.y() + pixels.y() * m_zoom,
                        pixels.width() * m_zoom, pixels.height() * m_zoom);
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter->drawImage(target, m_picture, pixels);
}
