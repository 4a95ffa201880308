#include "picture/pictureintake.h"
#include "picture/picturestore.h"

#include <QBuffer>
#include <QImage>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtEndian>
#include <QtTest>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/stat.h>
#endif

// Runs with little address space on Linux (see tests/CMakeLists.txt): a picture
// that got decoded against the limits would fail to allocate, and would not come
// back as refused for its size.
class PictureIntakeTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void onlyRegularLocalFilesAreRead_data();
    void onlyRegularLocalFilesAreRead();
    void unusablePicturesAreRefusedUndecoded_data();
    void unusablePicturesAreRefusedUndecoded();
    void hugeTextIsLeftUnread();
    void slowReadingStepsUntilItEnds();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // "shown WxH", "incomplete WxH", "too large" or "unreadable".
    QString answerTo(const QVariant &source);

    QTemporaryDir m_dir;
    QTcpServer m_listener;
    QString m_pictures;
#ifdef Q_OS_WIN
    HANDLE m_locked = INVALID_HANDLE_VALUE;
#endif
};

void PictureIntakeTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QImage(30, 20, QImage::Format_RGB32).save(path("eye.png")));
#ifdef Q_OS_WIN
    // Windows has no FIFOs or device files in folders; its counterpart of a file
    // that cannot be read is one another program holds open with no sharing.
    QVERIFY(QFile::copy(path("eye.png"), path("locked.png")));
    m_locked = CreateFileW(reinterpret_cast<const wchar_t *>(path("locked.png").utf16()),
                           GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    QVERIFY(m_locked != INVALID_HANDLE_VALUE);
#else
    QCOMPARE(::mkfifo(QFile::encodeName(path("fifo.png")).constData(), 0600), 0);
    QVERIFY(QFile::link("/dev/zero", path("zero.png")));
#endif
    QVERIFY(m_listener.listen(QHostAddress::LocalHost));
    m_pictures = QCoreApplication::applicationDirPath() + "/../tests/pictures/";
}

void PictureIntakeTest::cleanupTestCase()
{
#ifdef Q_OS_WIN
    CloseHandle(m_locked); // so that the folder can go
#endif
}

QString PictureIntakeTest::answerTo(const QVariant &source)
{
    PictureIntake intake;
    QSignalSpy ready(&intake, &PictureIntake::pictureReady);
    QSignalSpy refused(&intake, &PictureIntake::pictureRefused);
    intake.open(source);
    if (!QTest::qWaitFor([&] { return !ready.isEmpty() || !refused.isEmpty(); }, 20000))
        return QStringLiteral("no answer");
    if (!refused.isEmpty())
        return refused.at(0).at(0).toBool() ? QStringLiteral("too large")
                                            : QStringLiteral("unreadable");
    const QUrl url = ready.at(0).at(0).toUrl();
    QSize size;
    StoredPictureProvider().requestImage(url.path().mid(1), &size, QSize());
    PictureStore::instance().forget(url);
    return QStringLiteral("%1 %2x%3")
        .arg(ready.at(0).at(1).toBool() ? "incomplete" : "shown")
        .arg(size.width())
        .arg(size.height());
}

void PictureIntakeTest::onlyRegularLocalFilesAreRead_data()
{
    QTest::addColumn<QVariant>("source");
    QTest::addColumn<QString>("answer");
    const QString web = QStringLiteral("http://127.0.0.1:%1/eye.png").arg(m_listener.serverPort());
    QTest::newRow("regular file") << QVariant(path("eye.png")) << "shown 30x20";
#ifdef Q_OS_WIN
    QTest::newRow("drive letter and backslashes")
        << QVariant(QDir::toNativeSeparators(path("eye.png"))) << "shown 30x20";
    QTest::newRow("file held by another program") << QVariant(path("locked.png")) << "unreadable";
#else
    QTest::newRow("FIFO") << QVariant(path("fifo.png")) << "unreadable";
    QTest::newRow("FIFO's file URL")
        << QVariant(QUrl::fromLocalFile(path("fifo.png"))) << "unreadable";
    QTest::newRow("device") << QVariant(path("zero.png")) << "unreadable";
#endif
    QTest::newRow("web address as text") << QVariant(web) << "unreadable";
    QTest::newRow("web address as URL") << QVariant(QUrl(web)) << "unreadable";
    QTest::newRow("truncated JPEG")
        << QVariant(m_pictures + "cut-in-scan.jpg") << "incomplete 400x300";
}

void PictureIntakeTest::onlyRegularLocalFilesAreRead()
{
    QFETCH(QVariant, source);
    QFETCH(QString, answer);
    QCOMPARE(answerTo(source), answer);
    QVERIFY2(!m_listener.waitForNewConnection(100), "a web address was fetched");
}

void PictureIntakeTest::unusablePicturesAreRefusedUndecoded_data()
{
    QTest::addColumn<QVariant>("source");
    QTest::addColumn<QString>("answer");
    QTest::newRow("JPEG declaring 65000 x 65000")
        << QVariant(m_pictures + "declares-65000x65000.jpg") << "too large";
    QTest::newRow("PNG declaring 16000 x 16000")
        << QVariant(m_pictures + "declares-16000x16000.png") << "too large";
    QImage tooWide(70000, 2, QImage::Format_RGB32);
    tooWide.fill(Qt::gray);
    QTest::newRow("pasted pixels 70000 wide")
        << QVariant(PictureStore::instance().depositPasted(tooWide)) << "too large";
    QImage strip(16384, 10, QImage::Format_RGB32);
    strip.fill(Qt::gray);
    QVERIFY(strip.save(path("strip.png")));
    QTest::newRow("strip 16384 x 10") << QVariant(path("strip.png")) << "unreadable";
    QVERIFY(strip.transformed(QTransform().rotate(90)).save(path("upright-strip.png")));
    QTest::newRow("strip 10 x 16384") << QVariant(path("upright-strip.png")) << "unreadable";
}

void PictureIntakeTest::unusablePicturesAreRefusedUndecoded()
{
    QFETCH(QVariant, source);
    QFETCH(QString, answer);
    QCOMPARE(answerTo(source), answer);
}

// CRC-32 of a PNG chunk whose data ends in a run of zero bytes.
static quint32 chunkCrc(const QByteArray &typeAndData, qint64 zeros)
{
    quint32 table[256];
    for (quint32 n = 0; n < 256; ++n) {
        quint32 c = n;
        for (int k = 0; k < 8; ++k)
            c = c & 1 ? 0xedb88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    quint32 crc = 0xffffffffu;
    for (const char byte : typeAndData)
        crc = table[(crc ^ quint8(byte)) & 0xff] ^ (crc >> 8);
    for (qint64 i = 0; i < zeros; ++i)
        crc = table[crc & 0xff] ^ (crc >> 8);
    return crc ^ 0xffffffffu;
}

// A valid PNG with a text chunk of 1 GB after its header, written sparse: read and
// decoded as a whole it would take several times the address space the test has.
void PictureIntakeTest::hugeTextIsLeftUnread()
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImage picture(800, 600, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QVERIFY(picture.save(&buffer, "PNG"));
    const qint64 zeros = 1024LL * 1024 * 1024;
    const QByteArray keyword("Comment\0", 8);
    QByteArray header(4, '\0');
    qToBigEndian<quint32>(quint32(keyword.size() + zeros), header.data());
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(chunkCrc("tEXt" + keyword, zeros), crc.data());
    QFile file(path("huge-text.png"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    const int afterHeaderChunk = 8 + 25;
    file.write(png.left(afterHeaderChunk) + header + "tEXt" + keyword);
    QVERIFY(file.seek(file.pos() + zeros));
    file.write(crc + png.mid(afterHeaderChunk));
    file.close();
    QCOMPARE(answerTo(file.fileName()), QStringLiteral("shown 800x600"));
    QCOMPARE(answerTo(path("eye.png")), QStringLiteral("shown 30x20")); // and still at work
}

// Every thread of the pool is held, so that the reading waits as behind a slow disk:
// meanwhile the intake counts its steps, and once the picture comes it is neither
// slow nor counting any more.
void PictureIntakeTest::slowReadingStepsUntilItEnds()
{
    QThreadPool *pool = QThreadPool::globalInstance();
    QSemaphore held;
    const int threads = pool->maxThreadCount();
    for (int i = 0; i < threads; ++i)
        pool->start([&held] { held.acquire(); });
    PictureIntake intake;
    intake.setSlowAfter(0);
    QSignalSpy ready(&intake, &PictureIntake::pictureReady);
    QSignalSpy steps(&intake, &PictureIntake::slowStepsChanged);
    intake.open(path("eye.png"));
    QTRY_VERIFY(intake.slow());
    QCOMPARE(intake.slowSteps(), 0);
    QTRY_COMPARE(intake.slowSteps(), 2);
    QCOMPARE(steps.count(), 2);
    QVERIFY(ready.isEmpty());

    held.release(threads);
    QTRY_COMPARE(ready.count(), 1);
    QVERIFY(!intake.slow());
    QVERIFY(!intake.busy());
    QCOMPARE(intake.slowSteps(), 0);
    const int stepsAtTheEnd = steps.count();
    QTest::qWait(600);
    QCOMPARE(steps.count(), stepsAtTheEnd);
    PictureStore::instance().forget(ready.at(0).at(0).toUrl());
}

QTEST_MAIN(PictureIntakeTest)

#include "tst_pictureintake.moc"
