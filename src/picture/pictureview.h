#pragma once

#include "measuring/measuregeometry.h"

#include <QObject>
#include <QPointF>
#include <QSizeF>

// How the page shows its picture: whole, fitted to the drawing area (zoom 1), or
// enlarged about a point up to a fixed number of screen pixels per picture pixel
// and moved around. Only the view changes: every stored position stays a fraction
// of the picture, and the drawing area keeps its size.
class PictureView : public QObject
{
    Q_OBJECT
    // The picture's size in pixels; a new size shows the new picture whole.
    Q_PROPERTY(QSizeF pictureSize READ pictureSize WRITE setPictureSize NOTIFY pictureSizeChanged)
    // The drawing area's size, in the area's own pixels.
    Q_PROPERTY(QSizeF areaSize READ areaSize WRITE setAreaSize NOTIFY areaSizeChanged)
    // 1 shows the picture whole; 2 shows half its width and height.
    Q_PROPERTY(qreal zoom READ zoom NOTIFY viewChanged)
    // The fraction of the picture in the middle of the area.
    Q_PROPERTY(QPointF centre READ centre NOTIFY viewChanged)
    // Where the picture's top left corner falls in the area, in area pixels.
    Q_PROPERTY(QPointF offset READ offset NOTIFY viewChanged)
    // Area pixels per picture pixel.
    Q_PROPERTY(qreal scale READ scale NOTIFY viewChanged)
    Q_PROPERTY(qreal largestZoom READ largestZoom NOTIFY viewChanged)
    Q_PROPERTY(bool fitted READ fitted NOTIFY viewChanged)
    Q_PROPERTY(bool canZoomIn READ canZoomIn NOTIFY viewChanged)
public:
    // The closest view: one picture pixel takes this many screen pixels.
    static constexpr double largestScale = 8;

    explicit PictureView(QObject *parent = nullptr);

    QSizeF pictureSize() const { return m_pictureSize; }
    void setPictureSize(const QSizeF &size);
    QSizeF areaSize() const { return m_areaSize; }
    void setAreaSize(const QSizeF &size);
    qreal zoom() const { return m_view.zoom; }
    QPointF centre() const { return m_view.centre; }
    QPointF offset() const;
    qreal scale() const;
    qreal largestZoom() const;
    bool fitted() const { return m_view.zoom <= 1; }
    bool canZoomIn() const { return m_view.zoom < largestZoom(); }

    // Zooms by `factor`, keeping the picture's spot under the area's `point` there.
    Q_INVOKABLE void zoomAbout(const QPointF &point, qreal factor);
    Q_INVOKABLE void fit();
    // One picture pixel per screen pixel, about the area's middle (within the limits).
    Q_INVOKABLE void actualPixels();
    // Moves the picture with a pointer that moved (dx, dy) area pixels.
    Q_INVOKABLE void panBy(qreal dx, qreal dy);

    // Area points and fractions of the picture, both ways.
    Q_INVOKABLE QPointF toView(const QPointF &fraction) const;
    Q_INVOKABLE QPointF toFraction(const QPointF &point) const;

signals:
    void pictureSizeChanged();
    void areaSizeChanged();
    void viewChanged();

private:
    void show(const measuregeometry::View &view);

    QSizeF m_pictureSize;
    QSizeF m_areaSize;
    measuregeometry::View m_view;
};
