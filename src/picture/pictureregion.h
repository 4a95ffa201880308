#pragma once

#include <QImage>
#include <QPointF>
#include <QQuickPaintedItem>
#include <QUrl>

// Draws the part of a picture that falls inside the item, magnified without
// smoothing, from the decoded picture at full resolution. Only the item's own
// few hundred pixels a side go to the graphics stack, never a texture of the
// whole picture.
class PictureRegion : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(QUrl source READ source WRITE setSource NOTIFY sourceChanged)
    // Where the picture's top left corner falls, in the item's coordinates.
    Q_PROPERTY(QPointF origin READ origin WRITE setOrigin NOTIFY originChanged)
    // Item pixels per picture pixel.
    Q_PROPERTY(qreal zoom READ zoom WRITE setZoom NOTIFY zoomChanged)
public:
    explicit PictureRegion(QQuickItem *parent = nullptr);

    QUrl source() const { return m_source; }
    void setSource(const QUrl &source);
    QPointF origin() const { return m_origin; }
    void setOrigin(const QPointF &origin);
    qreal zoom() const { return m_zoom; }
    void setZoom(qreal zoom);

    void paint(QPainter *painter) override;

    // The whole picture pixels that reach into an area of `size` showing the
    // picture with its top left corner at `origin`, `zoom` area pixels per pixel.
    static QRect pixelsSeen(const QSize &picture, const QPointF &origin, qreal zoom,
                            const QSizeF &size);

signals:
    void sourceChanged();
    void originChanged();
    void zoomChanged();

protected:
    const QImage &picture() const { return m_picture; }

private:
    QUrl m_source;
    QImage m_picture;
    QPointF m_origin;
    qreal m_zoom = 1;
};
