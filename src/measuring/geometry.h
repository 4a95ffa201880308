#pragma once

#include <QObject>
#include <QPointF>
#include <QSizeF>
#include <QVariantList>
#include <QVariantMap>

// The pure geometry of the measures, for the page and its rooms: the same functions
// the native layer uses, so that each rule is written once.
class Geometry : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Points as fractions of a picture of the given size; the circle comes back with
    // its centre as fractions too, its radius and largest deviation in picture
    // pixels: { valid, centre, radius, deviation }.
    Q_INVOKABLE static QVariantMap fittedCircle(const QVariantList &points,
                                                const QSizeF &pictureSize);
    Q_INVOKABLE static double foldedMisalignment(double readAxis, double plannedAxis);
};
