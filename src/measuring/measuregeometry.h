#pragma once

#include <QPointF>
#include <QSizeF>

// The geometry of measured points, written once. Points are fractions of the
// picture's width and height, so that they keep their place whatever size the
// picture is shown at; distances are taken in picture pixels, so that one
// calibration factor holds in every direction.
namespace measuregeometry {

// A point not placed yet.
inline QPointF unsetPoint()
{
    return QPointF(-1, -1);
}

inline bool isSet(const QPointF &point)
{
    return point.x() >= 0 && point.y() >= 0;
}

double pictureDistance(const QPointF &start, const QPointF &end, const QSizeF &pictureSize);

// The point moved by whole picture pixels, kept on the picture.
QPointF nudged(const QPointF &point, double dx, double dy, const QSizeF &pictureSize);

} // namespace measuregeometry
