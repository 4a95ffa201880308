#include "measuregeometry.h"

#include <algorithm>
#include <cmath>

namespace measuregeometry {

double pictureDistance(const QPointF &start, const QPointF &end, const QSizeF &pictureSize)
{
    if (!isSet(start) || !isSet(end))
        return 0;
    const double dx = (end.x() - start.x()) * pictureSize.width();
    const double dy = (end.y() - start.y()) * pictureSize.height();
    return std::sqrt(dx * dx + dy * dy);
}

QPointF nudged(const QPointF &point, double dx, double dy, const QSizeF &pictureSize)
{
    if (pictureSize.width() <= 0 || pictureSize.height() <= 0)
        return point;
    return QPointF(std::clamp(point.x() + dx / pictureSize.width(), 0.0, 1.0),
                   std::clamp(point.y() + dy / pictureSize.height(), 0.0, 1.0));
}

} // namespace measuregeometry
