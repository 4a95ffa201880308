#include "pictureview.h"

#include <QtMath>

PictureView::PictureView(QObject *parent) : QObject(parent) {}

void PictureView::setPictureSize(const QSizeF &size)
{
    if (size == m_pictureSize)
        return;
    m_pictureSize = size;
    emit pictureSizeChanged();
    fit();
    emit viewChanged(); // the largest zoom, even when the view stays whole
}

// The view keeps its zoom and its centre: the same part of the picture stays in view,
// at the same share of the area. Only a zoom beyond the new limit comes down to it.
void PictureView::setAreaSize(const QSizeF &size)
{
    if (size == m_areaSize)
        return;
    m_areaSize = size;
    emit areaSizeChanged();
    m_view = measuregeometry::clampedView(m_view, largestZoom());
    emit viewChanged();
}

QPointF PictureView::offset() const
{
    return measuregeometry::viewPoint(QPointF(0, 0), m_view, m_areaSize);
}

qreal PictureView::scale() const
{
    return measuregeometry::fittedScale(m_pictureSize, m_areaSize) * m_view.zoom;
}

qreal PictureView::largestZoom() const
{
    return measuregeometry::largestZoom(m_pictureSize, m_areaSize, largestScale);
}

void PictureView::show(const measuregeometry::View &view)
{
    const measuregeometry::View clamped = measuregeometry::clampedView(view, largestZoom());
    if (qFuzzyCompare(clamped.zoom, m_view.zoom) && clamped.centre == m_view.centre)
        return;
    m_view = clamped;
    emit viewChanged();
}

void PictureView::zoomAbout(const QPointF &point, qreal factor)
{
    if (factor <= 0)
        return;
    show(measuregeometry::zoomedAbout(m_view, point, m_view.zoom * factor, m_areaSize,
                                      largestZoom()));
}

void PictureView::fit()
{
    show(measuregeometry::View());
}

void PictureView::actualPixels()
{
    const double fitted = measuregeometry::fittedScale(m_pictureSize, m_areaSize);
    if (fitted <= 0)
        return;
    show({1 / fitted, m_view.centre});
}

void PictureView::panBy(qreal dx, qreal dy)
{
    show(measuregeometry::pannedBy(m_view, dx, dy, m_areaSize, largestZoom()));
}

QPointF PictureView::toView(const QPointF &fraction) const
{
    return measuregeometry::viewPoint(fraction, m_view, m_areaSize);
}

QPointF PictureView::toFraction(const QPointF &point) const
{
    return measuregeometry::viewFraction(point, m_view, m_areaSize);
}
