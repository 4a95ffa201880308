#pragma once

#include "pictureregion.h"

#include <QImage>
#include <QRect>
#include <QThreadPool>

// The part of the picture that an enlarged view of the page shows, at the screen's
// resolution, from the decoded picture: never a texture of the whole picture. Where
// a screen pixel still takes less than a picture pixel, the part is scaled down with
// smoothing on a thread of its own (it reads millions of pixels), and what was made
// for the previous view stays drawn, moved and stretched to the new one, until the
// new part is ready; closer up, the few pixels in view are drawn directly, as the
// loupe draws them.
class ZoomedPicture : public PictureRegion
{
    Q_OBJECT
    // What is drawn was made for the view as it is now.
    Q_PROPERTY(bool ready READ ready NOTIFY readyChanged)
public:
    explicit ZoomedPicture(QQuickItem *parent = nullptr);
    ~ZoomedPicture() override;

    bool ready() const { return m_ready; }

    // Puts this item right under a sibling (the overlay), over the ones before it.
    Q_INVOKABLE void placeUnder(QQuickItem *sibling);

    void paint(QPainter *painter) override;

signals:
    void readyChanged();

private:
    // A part of the picture scaled for one view: the picture pixels it shows.
    struct Part
    {
        QImage image;
        QRect pixels;
        QSize size;
        // Of the picture it was made from.
        qint64 pictureKey = 0;

        bool sameView(const Part &other) const
        {
            return pixels == other.pixels && size == other.size && pictureKey == other.pictureKey;
        }
    };

    // What the view now wants: the pixels in view and the size they take on screen.
    Part wanted() const;
    void viewChanged();
    void startScaling();
    void scaled(const Part &part);
    void setReady(bool ready);

    QThreadPool m_scaling;
    bool m_busy = false;
    bool m_ready = false;
    Part m_part;
};
