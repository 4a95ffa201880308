#include "measuregeometry.h"

#include <algorithm>
#include <cmath>

namespace measuregeometry {

namespace {

constexpr double pi = 3.14159265358979323846;

double distance(const QPointF &a, const QPointF &b)
{
    return std::hypot(b.x() - a.x(), b.y() - a.y());
}

// Points closer to one line than this, relative to their spread, make no circle.
constexpr double collinearTolerance = 1e-9;

} // namespace

double pictureDistance(const QPointF &start, const QPointF &end, const QSizeF &pictureSize)
{
    if (!isSet(start) || !isSet(end))
        return 0;
    return distance(toPixels(start, pictureSize), toPixels(end, pictureSize));
}

QPointF nudged(const QPointF &point, double dx, double dy, const QSizeF &pictureSize)
{
    if (pictureSize.width() <= 0 || pictureSize.height() <= 0)
        return point;
    return QPointF(std::clamp(point.x() + dx / pictureSize.width(), 0.0, 1.0),
                   std::clamp(point.y() + dy / pictureSize.height(), 0.0, 1.0));
}

double angleAt(const QPointF &end, const QPointF &vertex, const QPointF &otherEnd)
{
    const QPointF a = end - vertex;
    const QPointF b = otherEnd - vertex;
    if ((a.x() == 0 && a.y() == 0) || (b.x() == 0 && b.y() == 0))
        return 0;
    // atan2 of the cross and dot products keeps its precision near 0 and 180,
    // where an arc cosine loses it.
    const double cross = a.x() * b.y() - a.y() * b.x();
    const double dot = a.x() * b.x() + a.y() * b.y();
    return std::atan2(std::abs(cross), dot) * 180 / pi;
}

Circle circleThrough(const QPointF &a, const QPointF &b, const QPointF &c)
{
    return fittedCircle({a, b, c});
}

Circle fittedCircle(const QVector<QPointF> &points)
{
    Circle circle;
    const int n = points.size();
    if (n < 3)
        return circle;
    // Centred on the mean, so that large picture coordinates lose no precision.
    QPointF mean;
    for (const QPointF &p : points)
        mean += p;
    mean /= n;
    double suu = 0, svv = 0, suv = 0, suuu = 0, svvv = 0, suvv = 0, svuu = 0;
    for (const QPointF &p : points) {
        const double u = p.x() - mean.x();
        const double v = p.y() - mean.y();
        suu += u * u;
        svv += v * v;
        suv += u * v;
        suuu += u * u * u;
        svvv += v * v * v;
        suvv += u * v * v;
        svuu += v * u * u;
    }
    // The normal equations of |p - c|^2 = r^2 in u, v: a 2 x 2 system.
    const double det = suu * svv - suv * suv;
    if (std::abs(det) <= collinearTolerance * (suu + svv) * (suu + svv))
        return circle;
    const double ru = (suuu + suvv) / 2;
    const double rv = (svvv + svuu) / 2;
    const double uc = (ru * svv - rv * suv) / det;
    const double vc = (rv * suu - ru * suv) / det;
    circle.centre = QPointF(uc, vc) + mean;
    circle.radius = std::sqrt(uc * uc + vc * vc + (suu + svv) / n);
    for (const QPointF &p : points)
        circle.deviation =
            std::max(circle.deviation, std::abs(distance(p, circle.centre) - circle.radius));
    circle.valid = true;
    return circle;
}

double foldedMisalignment(double readAxis, double plannedAxis)
{
    double difference = std::fmod(readAxis - plannedAxis, 180.0);
    if (difference > 90)
        difference -= 180;
    else if (difference < -90)
        difference += 180;
    return difference;
}

QPointF toPixels(const QPointF &point, const QSizeF &pictureSize)
{
    return QPointF(point.x() * pictureSize.width(), point.y() * pictureSize.height());
}

QPointF toFraction(const QPointF &pixels, const QSizeF &pictureSize)
{
    if (pictureSize.width() <= 0 || pictureSize.height() <= 0)
        return unsetPoint();
    return QPointF(pixels.x() / pictureSize.width(), pixels.y() / pictureSize.height());
}

double fittedScale(const QSizeF &pictureSize, const QSizeF &areaSize)
{
    if (pictureSize.width() <= 0 || pictureSize.height() <= 0)
        return 1;
    return std::min(areaSize.width() / pictureSize.width(),
                    areaSize.height() / pictureSize.height());
}

double largestZoom(const QSizeF &pictureSize, const QSizeF &areaSize, double screenPixels)
{
    const double fitted = fittedScale(pictureSize, areaSize);
    if (pictureSize.isEmpty() || fitted <= 0)
        return 1;
    return std::max(1.0, screenPixels / fitted);
}

QPointF viewPoint(const QPointF &fraction, const View &view, const QSizeF &areaSize)
{
    return QPointF(areaSize.width() * (0.5 + view.zoom * (fraction.x() - view.centre.x())),
                   areaSize.height() * (0.5 + view.zoom * (fraction.y() - view.centre.y())));
}

QPointF viewFraction(const QPointF &point, const View &view, const QSizeF &areaSize)
{
    if (areaSize.width() <= 0 || areaSize.height() <= 0)
        return view.centre;
    return QPointF(view.centre.x() + (point.x() / areaSize.width() - 0.5) / view.zoom,
                   view.centre.y() + (point.y() / areaSize.height() - 0.5) / view.zoom);
}

namespace {

double clampedZoom(double zoom, double largest)
{
    return std::max(1.0, std::min(std::max(1.0, largest), zoom));
}

} // namespace

View clampedView(const View &view, double largest)
{
    View clamped;
    clamped.zoom = clampedZoom(view.zoom, largest);
    const double half = 0.5 / clamped.zoom;
    clamped.centre = QPointF(std::max(half, std::min(1 - half, view.centre.x())),
                             std::max(half, std::min(1 - half, view.centre.y())));
    return clamped;
}

View zoomedAbout(const View &view, const QPointF &point, double zoom, const QSizeF &areaSize,
                 double largest)
{
    const QPointF kept = viewFraction(point, view, areaSize);
    View zoomed;
    zoomed.zoom = clampedZoom(zoom, largest);
    zoomed.centre = kept;
    if (areaSize.width() > 0 && areaSize.height() > 0)
        zoomed.centre -= QPointF((point.x() / areaSize.width() - 0.5) / zoomed.zoom,
                                 (point.y() / areaSize.height() - 0.5) / zoomed.zoom);
    return clampedView(zoomed, largest);
}

View pannedBy(const View &view, double dx, double dy, const QSizeF &areaSize, double largest)
{
    View panned = view;
    if (areaSize.width() > 0 && areaSize.height() > 0)
        panned.centre -=
            QPointF(dx / areaSize.width() / view.zoom, dy / areaSize.height() / view.zoom);
    return clampedView(panned, largest);
}

} // namespace measuregeometry
