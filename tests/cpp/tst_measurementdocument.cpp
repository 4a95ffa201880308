#include "measuring/measurementdocument.h"
#include "measuring/recordstore.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QSizeF pictureSize(1000, 500);

// A document on a 1000 x 500 picture, calibrated so that 100 pixels are 10 mm.
void calibrate(MeasurementDocument &document)
{
    document.setPictureSize(pictureSize);
    QVERIFY(document.calibrate(QPointF(0.1, 0.1), QPointF(0.2, 0.1), 10, QStringLiteral("mm")));
}

QVariantList points(QPointF a, QPointF b)
{
    return {a, b};
}

QByteArray recordWithMeasures(int count, double x)
{
    MeasurementDocument document;
    document.setPictureSize(pictureSize);
    for (int i = 0; i < count; ++i)
        document.addMeasure(QStringLiteral("distance"), points(QPointF(x, 0.1), QPointF(x, 0.9)));
    return RecordStore::recordBytes(QStringLiteral("key"), document.toVariant());
}

// A stand-in photo: the store keys a record by the file's bytes alone.
QString writePhoto(const QTemporaryDir &dir)
{
    const QString photo = dir.filePath(QStringLiteral("photo.png"));
    QFile file(photo);
    if (!file.open(QIODevice::WriteOnly) || file.write("pixels") != 6)
        return QString();
    return photo;
}

} // namespace

class TestMeasurementDocument : public QObject
{
    Q_OBJECT
private slots:
    void lengthsFollowPointsAndCalibration();
    void everyChangeUndoesAndRedoes();
    void oneStepIsOneUndo();
    void clearMeasuresIsUndoable();
    void recordRoundTrip();
    void pendingChangeWrittenOnClose();
    void damagedRecordIsSetAside();
    void crashBetweenWritesLeavesOldOrNew();
};

void TestMeasurementDocument::lengthsFollowPointsAndCalibration()
{
    MeasurementDocument document;
    QAbstractItemModelTester tester(document.measures(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    calibrate(document);
    MeasureModel *model = document.measures();
    document.addMeasure(QStringLiteral("distance"), points(QPointF(0, 0), QPointF(0.3, 0)));
    QCOMPARE(model->data(model->index(0), MeasureModel::LengthRole).toDouble(), 30.0);
    QVERIFY(model->data(model->index(0), MeasureModel::CompleteRole).toBool());

    // Moving a calibration end changes every length at once, and says so.
    QSignalSpy lengths(model, &QAbstractItemModel::dataChanged);
    document.movePoint(-1, 1, QPointF(0.3, 0.1));
    QCOMPARE(lengths.count(), 1);
    QCOMPARE(model->length(0), 15.0);
    document.nudgePoint(0, 1, 0, 50); // 50 picture pixels down: a 3-4-5 triangle of 100s
    QCOMPARE(model->get(0).value(QStringLiteral("end")).toPointF(), QPointF(0.3, 0.1));
    QCOMPARE(qRound(model->length(0) * 1000), qRound(std::hypot(300.0, 50.0) / 20 * 1000));

    // Two coinciding points give no calibration.
    QVERIFY(!document.calibrate(QPointF(0.5, 0.5), QPointF(0.5, 0.5), 1, QString()));
    QCOMPARE(document.lengthFactor(), 0.05);
}

void TestMeasurementDocument::everyChangeUndoesAndRedoes()
{
    MeasurementDocument document;
    QAbstractItemModelTester tester(document.measures(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    calibrate(document);
    for (int i = 0; i < 3; ++i)
        document.addMeasure(QStringLiteral("distance"),
                            points(QPointF(0.1 * i, 0), QPointF(0.1 * i, 1)));
    const QVariantMap placed = document.toVariant();
    const QStringList names = {"Remove measure",      "Move point",      "Move circle",
                               "Change radius",       "Turn guide line", "Turn sector edge",
                               "Change planned axis", "Calibrate"};
    document.removeMeasure(1);
    document.endStep();
    document.movePoint(0, 0, QPointF(0.5, 0.5));
    document.endStep();
    document.moveCircle(QPointF(0.25, 0.75));
    document.changeRadius(200);
    document.turnGuideLine(37.5);
    document.turnSector(10, 70);
    // Typed a key at a time, one step.
    for (double axis : {1.0, 12.0, 12.5})
        document.setPlannedAxis(axis);
    document.calibrate(QPointF(0, 0), QPointF(0, 1), 25, QStringLiteral("cm"));
    QCOMPARE(document.measures()->rowCount(), 2);
    QCOMPARE(document.lineRotation(), 37.5);
    const QVariantMap changed = document.toVariant();

    QSignalSpy undoState(&document, &MeasurementDocument::undoStateChanged);
    for (int i = names.size() - 1; i >= 0; --i) {
        QCOMPARE(document.undoText(), names.at(i));
        document.undo();
    }
    QCOMPARE(document.undoText(), QStringLiteral("Add measure"));
    QCOMPARE(document.toVariant(), placed);
    QVERIFY(undoState.count() >= names.size());
    while (document.canRedo())
        document.redo();
    QCOMPARE(document.toVariant(), changed);
}

void TestMeasurementDocument::oneStepIsOneUndo()
{
    MeasurementDocument document;
    calibrate(document);
    document.addMeasure(QStringLiteral("distance"), points(QPointF(0, 0), QPointF(1, 1)));
    // A drag of one end, then a held arrow key on the other: two steps.
    for (int i = 1; i <= 20; ++i)
        document.movePoint(0, 1, QPointF(1 - 0.01 * i, 1));
    document.endStep();
    for (int i = 0; i < 30; ++i)
        document.nudgePoint(0, 0, 1, 0);
    document.endStep();
    // A wheel burst that ends where it began leaves no step at all.
    document.changeRadius(140);
    document.changeRadius(128);
    QCOMPARE(document.undoStack()->count(), 4); // calibrate, add, drag, keys
    document.undo();
    QCOMPARE(document.point(0, 0), QPointF(0, 0));
    QCOMPARE(document.point(0, 1), QPointF(0.8, 1));
    document.undo();
    QCOMPARE(document.point(0, 1), QPointF(1, 1));
}

void TestMeasurementDocument::clearMeasuresIsUndoable()
{
    MeasurementDocument document;
    calibrate(document);
    document.addMeasure(QStringLiteral("distance"), points(QPointF(0, 0), QPointF(1, 1)));
    document.clearMeasures();
    QVERIFY(!document.calibrated());
    QCOMPARE(document.measures()->rowCount(), 0);
    QCOMPARE(document.undoText(), QStringLiteral("Clear measures"));
    document.undo();
    QVERIFY(document.calibrated());
    QCOMPARE(document.measures()->rowCount(), 1);
}

// Written by the store within its delay, found again from the picture's content
// under another name, and not by another picture of the same name.
void TestMeasurementDocument::recordRoundTrip()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString photo = dir.filePath(QStringLiteral("photo.jpg"));
    const QString copy = dir.filePath(QStringLiteral("copy of photo.jpg"));
    for (const QString &path : {photo, copy}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("the same content");
    }
    MeasurementDocument document;
    RecordStore store;
    store.setFolder(dir.filePath(QStringLiteral("records")));
    store.setWriteDelay(50);
    store.setDocument(&document);
    store.open(QUrl::fromLocalFile(photo));
    QTRY_VERIFY(!store.pictureKey().isEmpty());
    calibrate(document);
    document.addMeasure(QStringLiteral("distance"), points(QPointF(0, 0), QPointF(0.5, 0.5)));
    document.setReferenceText(QStringLiteral("Pt 001 OS 2024-12-09"));
    const QVariantMap kept = document.toVariant();
    QTRY_VERIFY(QFile::exists(store.recordPath(store.pictureKey())));

    QSignalSpy restored(&store, &RecordStore::restored);
    store.open(QUrl::fromLocalFile(copy));
    QVERIFY(document.empty()); // cleared at once, restored once the content is read
    QTRY_COMPARE(restored.count(), 1);
    QCOMPARE(restored.at(0).at(0).toString(),
             QStringLiteral("The measures of this picture were restored."));
    QCOMPARE(document.toVariant(), kept);
    QVERIFY(!document.canUndo());

    QFile other(photo);
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write("another picture under the same name");
    other.close();
    store.open(QUrl::fromLocalFile(photo));
    QTRY_VERIFY(!store.pictureKey().isEmpty());
    QVERIFY(document.empty());
    QCOMPARE(restored.count(), 1);
}

// The window closes (the store goes) before the change's delay is up: it is written.
void TestMeasurementDocument::pendingChangeWrittenOnClose()
{
    QTemporaryDir dir;
    const QString photo = writePhoto(dir);
    QVERIFY(!photo.isEmpty());
    MeasurementDocument document;
    QString record;
    {
        RecordStore store;
        store.setFolder(dir.path());
        store.setWriteDelay(60 * 60 * 1000);
        store.setDocument(&document);
        store.open(QUrl::fromLocalFile(photo));
        QTRY_VERIFY(!store.pictureKey().isEmpty());
        document.setReferenceText(QStringLiteral("Pt 002 OD"));
        record = store.recordPath(store.pictureKey());
        QVERIFY(!QFile::exists(record));
    }
    QFile kept(record);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QVariantMap values;
    QVERIFY(RecordStore::parseRecord(kept.readAll(), RecordStore::keyOf("pixels"), &values));
    QCOMPARE(values.value(QStringLiteral("referenceText")).toString(), QStringLiteral("Pt 002 OD"));
}

void TestMeasurementDocument::damagedRecordIsSetAside()
{
    QTemporaryDir dir;
    const QString photo = writePhoto(dir);
    QVERIFY(!photo.isEmpty());
    MeasurementDocument document;
    RecordStore store;
    store.setFolder(dir.path());
    store.setDocument(&document);
    const QString record = store.recordPath(RecordStore::keyOf("pixels"));
    const QByteArray foreign = recordWithMeasures(2, 0.5); // another picture's key
    QVERIFY(RecordStore::writeRecord(record, foreign));
    QVariantMap values;
    QVERIFY(!RecordStore::parseRecord(foreign, RecordStore::keyOf("pixels"), &values));
    QVERIFY(!RecordStore::parseRecord(foreign.left(foreign.size() / 2), QStringLiteral("key"),
                                      &values));

    QSignalSpy setAside(&store, &RecordStore::setAside);
    store.open(QUrl::fromLocalFile(photo));
    QTRY_COMPARE(setAside.count(), 1);
    QVERIFY(document.empty());
    QVERIFY(!QFile::exists(record));
    const QStringList aside =
        QDir(dir.path())
            .entryList({QFileInfo(record).fileName() + QStringLiteral(".unreadable-*")});
    QCOMPARE(aside.size(), 1);
    QFile kept(dir.filePath(aside.at(0)));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), foreign);
}

// A writer killed at random moments while it writes two records in turn: the
// file on disk is always one of them, whole.
void TestMeasurementDocument::crashBetweenWritesLeavesOldOrNew()
{
    QTemporaryDir dir;
    const QString record = dir.filePath(QStringLiteral("record.json"));
    const QByteArray first = recordWithMeasures(400, 0.25);
    const QByteArray second = recordWithMeasures(400, 0.75);
    QVERIFY(RecordStore::writeRecord(record, first));
    for (int round = 0; round < 8; ++round) {
        QProcess writer;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ORVALITH_WRITE_IN_TURN"), record);
        writer.setProcessEnvironment(environment);
        writer.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(writer.waitForReadyRead(10000)); // it says when it has started writing
        QTest::qWait(5 + QRandomGenerator::global()->bounded(40));
        writer.kill();
        QVERIFY(writer.waitForFinished(10000));
        QFile file(record);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY2(bytes == first || bytes == second, qPrintable(QString::number(round)));
    }
}

// The writer of the crash test: writes the two records in turn until killed.
static int writeInTurn(const QString &record)
{
    const QByteArray records[] = {recordWithMeasures(400, 0.25), recordWithMeasures(400, 0.75)};
    fputs("writing\n", stdout);
    fflush(stdout);
    for (int i = 0;; ++i)
        RecordStore::writeRecord(record, records[i % 2]);
}

int main(int argc, char **argv)
{
    const QByteArray record = qgetenv("ORVALITH_WRITE_IN_TURN");
    QCoreApplication app(argc, argv);
    if (!record.isEmpty())
        return writeInTurn(QString::fromLocal8Bit(record));
    TestMeasurementDocument test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_measurementdocument.moc"
