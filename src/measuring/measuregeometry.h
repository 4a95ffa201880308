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

// The view of the picture in its drawing area, which has the picture's proportions:
// zoom 1 shows it whole (fitted), zoom z shows 1/z of its width and height around
// `centre`, a fraction of the picture that lies in the middle of the area. View
// points are in the area's own pixels, from its top left corner.
struct View
{
    double zoom = 1;
    QPointF centre{0.5, 0.5};
};

// Screen pixels per picture pixel at zoom 1.
double fittedScale(const QSizeF &pictureSize, const QSizeF &areaSize);

// The largest zoom, at which one picture pixel takes `screenPixels` pixels of the
// area; 1 where the fitted picture is already enlarged that much, or none is shown.
double largestZoom(const QSizeF &pictureSize, const QSizeF &areaSize, double screenPixels);

// Where a fraction of the picture shows in the area, and the other way round.
QPointF viewPoint(const QPointF &fraction, const View &view, const QSizeF &areaSize);
QPointF viewFraction(const QPointF &point, const View &view, const QSizeF &areaSize);

// The view with its zoom brought into [1, largest] and its centre kept so far from
// the picture's edges that the picture covers the whole area: it can never be pushed
// out of sight, and at zoom 1 there is nothing to move.
View clampedView(const View &view, double largest);

// The view at `zoom` that keeps the fraction under the area's `point` where it is
// (the pointer's spot stays under the pointer), clamped.
View zoomedAbout(const View &view, const QPointF &point, double zoom, const QSizeF &areaSize,
                 double largest);

// The view with the picture moved by (dx, dy) area pixels, clamped.
View pannedBy(const View &view, double dx, double dy, const QSizeF &areaSize, double largest);

} // namespace measuregeometry
