#include "zoomedpicture.h"

#include <QPainter>
#include <QQuickWindow>
#include <QtMath>

namespace {

// The pixels of `rect` without a copy, where the format allows; the picture must
// outlive the result.
QImage partOf(const QImage &picture, const QRect &rect)
{
    if (picture.depth() < 8 || picture.colorCount() > 0)
        return picture.copy(rect);
    const uchar *first =
        picture.constBits() + rect.y() * picture.bytesPerLine() + rect.x() * (picture.depth() / 8);
    return QImage(first, rect.width(), rect.height(), picture.bytesPerLine(), picture.format());
}

} // namespace

ZoomedPicture::ZoomedPicture(QQuickItem *parent) : PictureRegion(parent)
{
    m_scaling.setMaxThreadCount(1);
    connect(this, &PictureRegion::sourceChanged, this, &ZoomedPicture::viewChanged);
    connect(this, &PictureRegion::originChanged, this, &ZoomedPicture::viewChanged);
    connect(this, &PictureRegion::zoomChanged, this, &ZoomedPicture::viewChanged);
    connect(this, &QQuickItem::widthChanged, this, &ZoomedPicture::viewChanged);
    connect(this, &QQuickItem::heightChanged, this, &ZoomedPicture::viewChanged);
    connect(this, &QQuickItem::windowChanged, this, &ZoomedPicture::viewChanged);
}

// A part being scaled reports to this item: it must come back first.
ZoomedPicture::~ZoomedPicture()
{
    m_scaling.waitForDone();
}

void ZoomedPicture::placeUnder(QQuickItem *sibling)
{
    if (sibling && sibling->parentItem() == parentItem())
        stackBefore(sibling);
}

ZoomedPicture::Part ZoomedPicture::wanted() const
{
    Part part;
    if (picture().isNull())
        return part;
    part.pictureKey = picture().cacheKey();
    part.pixels = pixelsSeen(picture().size(), origin(), zoom(), size());
    const qreal ratio = window() ? window()->effectiveDevicePixelRatio() : 1;
    part.size = QSize(qCeil(part.pixels.width() * zoom() * ratio),
                      qCeil(part.pixels.height() * zoom() * ratio));
    return part;
}

void ZoomedPicture::setReady(bool ready)
{
    if (ready == m_ready)
        return;
    m_ready = ready;
    emit readyChanged();
}

void ZoomedPicture::viewChanged()
{
    update();
    const Part part = wanted();
    if (part.pixels.isEmpty()) {
        m_part = Part();
        setReady(false);
        return;
    }
    // One picture pixel on one or more screen pixels: the pixels are few.
    if (zoom() >= 1) {
        m_part = Part();
        setReady(true);
        return;
    }
    if (m_part.pictureKey != part.pictureKey)
        m_part = Part(); // another picture's: nothing of it may show
    setReady(part.sameView(m_part));
    if (!m_ready && !m_busy)
        startScaling();
}

// Only the latest view is scaled for: views that came and went meanwhile are skipped.
void ZoomedPicture::startScaling()
{
    Part part = wanted();
    const QImage whole = picture();
    m_busy = true;
    m_scaling.start([this, part, whole]() mutable {
        part.image = partOf(whole, part.pixels)
                         .scaled(part.size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QMetaObject::invokeMethod(
            this, [this, part]() { scaled(part); }, Qt::QueuedConnection);
    });
}

void ZoomedPicture::scaled(const Part &part)
{
    m_busy = false;
    m_part = part;
    viewChanged();
}

void ZoomedPicture::paint(QPainter *painter)
{
    if (zoom() >= 1) {
        PictureRegion::paint(painter);
        return;
    }
    if (m_part.image.isNull())
        return;
    const QRectF target(origin() + QPointF(m_part.pixels.topLeft()) * zoom(),
                        QSizeF(m_part.pixels.size()) * zoom());
    painter->setRenderHint(QPainter::SmoothPixmapTransform, !m_ready);
    painter->drawImage(target, m_part.image);
}
