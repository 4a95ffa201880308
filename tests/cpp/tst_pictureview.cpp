#include "measuring/measuregeometry.h"
#include "picture/pictureview.h"

#include <QSignalSpy>
#include <QtTest>

using namespace measuregeometry;

namespace {

bool near(const QPointF &a, const QPointF &b)
{
    return std::abs(a.x() - b.x()) < 1e-9 && std::abs(a.y() - b.y()) < 1e-9;
}

} // namespace

// The view of the picture in its drawing area: the pure mapping and its limits, and
// the view model the page binds to, without a window.
class TestPictureView : public QObject
{
    Q_OBJECT
private slots:
    // A 6000 x 4000 photo fitted into 600 x 400: one screen pixel per ten picture pixels.
    void limits()
    {
        QCOMPARE(fittedScale(QSizeF(6000, 4000), QSizeF(600, 400)), 0.1);
        QCOMPARE(largestZoom(QSizeF(6000, 4000), QSizeF(600, 400), 8), 80.0);
        // Already enlarged past 8 screen pixels a pixel, or no picture: no zoom.
        QCOMPARE(largestZoom(QSizeF(50, 40), QSizeF(600, 480), 8), 1.0);
        QCOMPARE(largestZoom(QSizeF(), QSizeF(600, 400), 8), 1.0);
    }

    void mappingBothWays()
    {
        const QSizeF area(600, 400);
        const View fitted;
        QVERIFY(near(viewPoint(QPointF(0.25, 0.75), fitted, area), QPointF(150, 300)));
        const View view{4, QPointF(0.3, 0.6)};
        // The centre shows in the middle; a quarter of the area away is 1/16 of the picture.
        QVERIFY(near(viewPoint(QPointF(0.3, 0.6), view, area), QPointF(300, 200)));
        QVERIFY(near(viewPoint(QPointF(0.3 + 1.0 / 16, 0.6), view, area), QPointF(450, 200)));
        const QPointF fraction(0.2871, 0.5512);
        QVERIFY(near(viewFraction(viewPoint(fraction, view, area), view, area), fraction));
        QVERIFY(near(viewFraction(QPointF(450, 200), view, area), QPointF(0.3625, 0.6)));
        QVERIFY(near(viewPoint(QPointF(0.3625, 0.6), view, area), QPointF(450, 200)));
    }

    // The picture always covers the whole area: the centre stays half a view from the
    // edges, and at zoom 1 it is the picture's middle.
    void clamping()
    {
        QVERIFY(near(clampedView({1, QPointF(0.1, 0.9)}, 10).centre, QPointF(0.5, 0.5)));
        const View corner = clampedView({4, QPointF(0.01, 0.99)}, 10);
        QVERIFY(near(corner.centre, QPointF(0.125, 0.875)));
        QCOMPARE(clampedView({40, QPointF(0.5, 0.5)}, 10).zoom, 10.0);
        QCOMPARE(clampedView({0.5, QPointF(0.5, 0.5)}, 10).zoom, 1.0);
        const View panned = pannedBy({2, QPointF(0.5, 0.5)}, -1e6, 0, QSizeF(600, 400), 10);
        QVERIFY(near(panned.centre, QPointF(0.75, 0.5)));
    }

    // Zooming keeps the spot under the pointer where it is, also where the view's
    // limits move the centre... as long as the spot is not held against an edge.
    void zoomKeepsThePointersSpot()
    {
        const QSizeF area(600, 400);
        const QPointF pointer(420, 130);
        View view;
        const QPointF spot = viewFraction(pointer, view, area);
        for (int step = 0; step < 6; ++step) {
            view = zoomedAbout(view, pointer, view.zoom * 2, area, 80);
            QVERIFY(near(viewPoint(spot, view, area), pointer));
        }
        QCOMPARE(view.zoom, 64.0);
        view = zoomedAbout(view, pointer, 1000, area, 80);
        QCOMPARE(view.zoom, 80.0);
        QVERIFY(near(viewPoint(spot, view, area), pointer));
    }

    // The model: notifications, a new picture shown whole, the area's size kept to.
    void model()
    {
        PictureView view;
        QSignalSpy changed(&view, &PictureView::viewChanged);
        view.setAreaSize(QSizeF(600, 400));
        view.setPictureSize(QSizeF(6000, 4000));
        QVERIFY(view.fitted());
        QCOMPARE(view.largestZoom(), 80.0);
        QCOMPARE(view.scale(), 0.1);
        changed.clear();
        // At zoom 1 there is nothing to pan.
        view.panBy(50, 50);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(view.offset(), QPointF(0, 0));

        view.zoomAbout(QPointF(150, 100), 4);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(view.zoom(), 4.0);
        QVERIFY(!view.fitted());
        QVERIFY(near(view.toView(QPointF(0.25, 0.25)), QPointF(150, 100)));
        QVERIFY(near(view.toFraction(QPointF(150, 100)), QPointF(0.25, 0.25)));
        QVERIFY(near(view.offset(), view.toView(QPointF(0, 0))));

        // The picture follows the pointer: moved 60 pixels to the right, a spot 60
        // pixels left of the middle comes to the middle.
        const QPointF spot = view.toFraction(QPointF(240, 200));
        view.panBy(60, 0);
        QVERIFY(near(view.toView(spot), QPointF(300, 200)));
        // Pushed far away, it still covers the area.
        view.panBy(1e6, 1e6);
        QVERIFY(near(view.offset(), QPointF(0, 0)));
        view.panBy(-1e6, -1e6);
        QVERIFY(near(view.offset(), QPointF(600 - 2400, 400 - 1600)));

        view.actualPixels();
        QCOMPARE(view.scale(), 1.0);
        QCOMPARE(view.zoom(), 10.0);
        view.zoomAbout(QPointF(300, 200), 1000);
        QCOMPARE(view.scale(), 8.0);
        QVERIFY(!view.canZoomIn());

        // Another area size keeps the part in view at the same share of it; in a
        // larger area 8 screen pixels a pixel come at a lower zoom, which it comes down to.
        const QPointF centre = view.centre();
        view.setAreaSize(QSizeF(300, 200));
        QCOMPARE(view.centre(), centre);
        QCOMPARE(view.zoom(), 80.0);
        QCOMPARE(view.scale(), 4.0);
        view.setAreaSize(QSizeF(1200, 800));
        QCOMPARE(view.centre(), centre);
        QCOMPARE(view.zoom(), 40.0);
        QCOMPARE(view.scale(), 8.0);

        changed.clear();
        view.fit();
        QCOMPARE(changed.count(), 1);
        QVERIFY(view.fitted());
        QCOMPARE(view.centre(), QPointF(0.5, 0.5));

        // A new picture is shown whole.
        view.zoomAbout(QPointF(10, 10), 3);
        QVERIFY(!view.fitted());
        view.setPictureSize(QSizeF(3000, 2000));
        QVERIFY(view.fitted());
    }
};

QTEST_GUILESS_MAIN(TestPictureView)

#include "tst_pictureview.moc"
