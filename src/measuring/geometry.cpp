#include "geometry.h"

#include "measuregeometry.h"

QVariantMap Geometry::fittedCircle(const QVariantList &points, const QSizeF &pictureSize)
{
    QVector<QPointF> pixels;
    for (const QVariant &point : points)
        pixels.append(measuregeometry::toPixels(point.toPointF(), pictureSize));
    const measuregeometry::Circle circle = measuregeometry::fittedCircle(pixels);
    return {{QStringLiteral("valid"), circle.valid},
            {QStringLiteral("centre"), measuregeometry::toFraction(circle.centre, pictureSize)},
            {QStringLiteral("radius"), circle.radius},
            {QStringLiteral("deviation"), circle.deviation}};
}

double Geometry::foldedMisalignment(double readAxis, double plannedAxis)
{
    return measuregeometry::foldedMisalignment(readAxis, plannedAxis);
}
