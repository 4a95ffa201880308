#pragma once

#include <QPointF>
#include <QSizeF>
#include <QVector>

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

// The angle at the vertex between its two arms, in degrees from 0 to 180: the
// smaller of the two angles the arms make, whichever order they were placed in.
// Points in picture pixels; 0 when an arm has no length.
double angleAt(const QPointF &end, const QPointF &vertex, const QPointF &otherEnd);

// A circle in picture pixels; not valid when its points did not make one.
struct Circle
{
    QPointF centre;
    double radius = 0;
    // The largest distance of a fitted point from the circle.
    double deviation = 0;
    bool valid = false;
};

// The circle through three points; not valid when they lie on one line.
Circle circleThrough(const QPointF &a, const QPointF &b, const QPointF &c);

// The circle that fits three or more points best by least squares (the algebraic
// fit: it has a closed form, and on points of a limbus it differs from the
// geometric one by far less than a pixel); not valid for fewer than three points
// or points on one line.
Circle fittedCircle(const QVector<QPointF> &points);

// How far the axis read differs from the planned one, in degrees from -90 to +90,
// counter-clockwise positive as the axes count: axes repeat every 180 degrees, so
// 178 read against 2 planned is 4 degrees clockwise, -4.
double foldedMisalignment(double readAxis, double plannedAxis);

// Picture pixels and fractions of the picture, both ways.
QPointF toPixels(const QPointF &point, const QSizeF &pictureSize);
QPointF toFraction(const QPointF &pixels, const QSizeF &pictureSize);

} // namespace measuregeometry
