#include "measuring/measuregeometry.h"

#include <QtMath>
#include <QtTest>
#include <cmath>

using namespace measuregeometry;

namespace {

QPointF onCircle(QPointF centre, double radius, double degrees)
{
    const double a = qDegreesToRadians(degrees);
    return centre + QPointF(radius * std::cos(a), radius * std::sin(a));
}

} // namespace

// The pure geometry of the readings, against known figures.
class TestMeasureGeometry : public QObject
{
    Q_OBJECT
private slots:
    void angleAtVertex_data()
    {
        QTest::addColumn<QPointF>("end");
        QTest::addColumn<QPointF>("otherEnd");
        QTest::addColumn<double>("degrees");
        const QPointF right(100, 0);
        QTest::newRow("right angle") << right << QPointF(0, -50) << 90.0;
        QTest::newRow("arms on one another") << right << QPointF(30, 0) << 0.0;
        QTest::newRow("straight") << right << QPointF(-70, 0) << 180.0;
        QTest::newRow("122.4") << right << onCircle({}, 80, -122.4) << 122.4;
        // The same arms placed the other way round, or seen as a reflex 237.6.
        QTest::newRow("reflex reads its smaller angle")
            << right << onCircle({}, 80, 122.4) << 122.4;
        QTest::newRow("nearly straight") << right << onCircle({}, 5000, 179.99) << 179.99;
        QTest::newRow("no arm") << right << QPointF() << 0.0;
    }
    void angleAtVertex()
    {
        QFETCH(QPointF, end);
        QFETCH(QPointF, otherEnd);
        QFETCH(double, degrees);
        const QPointF vertex(300, 200);
        QVERIFY(std::abs(angleAt(end + vertex, vertex, otherEnd + vertex) - degrees) < 1e-6);
        QVERIFY(std::abs(angleAt(otherEnd + vertex, vertex, end + vertex) - degrees) < 1e-6);
    }

    void circleThroughThreePoints()
    {
        const QPointF centre(2100.5, 1700.25);
        const Circle circle = circleThrough(onCircle(centre, 600, 10), onCircle(centre, 600, 100),
                                            onCircle(centre, 600, 250));
        QVERIFY(circle.valid);
        QVERIFY(std::abs(circle.centre.x() - centre.x()) < 0.5);
        QVERIFY(std::abs(circle.centre.y() - centre.y()) < 0.5);
        QVERIFY(std::abs(circle.radius - 600) < 0.5);
        QVERIFY(circle.deviation < 1e-6);
    }

    void collinearPointsMakeNoCircle()
    {
        QVERIFY(!circleThrough({0, 0}, {100, 50}, {300, 150}).valid);
        QVERIFY(!circleThrough({10, 10}, {10, 10}, {10, 10}).valid);
        QVERIFY(!fittedCircle({{0, 0}, {1, 1}}).valid);
    }

    // Points off the circle by alternately +2 and -2 pixels: the fit finds the
    // circle between them and reports the 2 pixels.
    void leastSquaresFit()
    {
        const QPointF centre(3000, 2000);
        QVector<QPointF> points;
        for (int i = 0; i < 8; ++i)
            points.append(onCircle(centre, 600 + (i % 2 ? 2 : -2), i * 45 + 5));
        const Circle circle = fittedCircle(points);
        QVERIFY(circle.valid);
        QVERIFY(std::abs(circle.centre.x() - centre.x()) < 0.1);
        QVERIFY(std::abs(circle.centre.y() - centre.y()) < 0.1);
        QVERIFY(std::abs(circle.radius - 600) < 0.1);
        QVERIFY(std::abs(circle.deviation - 2) < 0.1);
    }

    void misalignmentFoldsAcrossTheAxes_data()
    {
        QTest::addColumn<double>("read");
        QTest::addColumn<double>("planned");
        QTest::addColumn<double>("misalignment");
        QTest::newRow("counter-clockwise") << 47.5 << 45.0 << 2.5;
        QTest::newRow("clockwise") << 40.0 << 45.0 << -5.0;
        QTest::newRow("across 0 clockwise") << 178.0 << 2.0 << -4.0;
        QTest::newRow("across 0 counter-clockwise") << 1.0 << 179.0 << 2.0;
        QTest::newRow("across 180") << 0.0 << 180.0 << 0.0;
        QTest::newRow("square") << 90.0 << 0.0 << 90.0;
        QTest::newRow("nearly square") << 95.0 << 4.0 << 91.0 - 180;
    }
    void misalignmentFoldsAcrossTheAxes()
    {
        QFETCH(double, read);
        QFETCH(double, planned);
        QFETCH(double, misalignment);
        QVERIFY(std::abs(foldedMisalignment(read, planned) - misalignment) < 1e-9);
    }
};

QTEST_APPLESS_MAIN(TestMeasureGeometry)
#include "tst_measuregeometry.moc"
