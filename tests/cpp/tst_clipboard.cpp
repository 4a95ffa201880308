#include "picture/clipboard.h"
#include "picture/picturedata.h"
#include "picture/picturestore.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

const QByteArray inlineJpegPrefix = "data:image/jpeg;base64,";

// A picture with a different colour in each corner, so that a decoded copy
// shows whether the pixels survived, not just the size.
QImage cornersImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    const int halfWidth = width / 2;
    const int halfHeight = height / 2;
    QPainter painter(&image);
    painter.fillRect(0, 0, halfWidth, halfHeight, Qt::red);
    painter.fillRect(halfWidth, 0, width - halfWidth, halfHeight, Qt::green);
    painter.fillRect(0, halfHeight, halfWidth, height - halfHeight, Qt::blue);
    painter.fillRect(halfWidth, halfHeight, width - halfWidth, height - halfHeight, Qt::white);
    return image;
}

// Smooth gradients under sensor-like noise: compresses about as badly as a
// real photograph does.
QImage photoLikeImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator noise(42);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int grain = int(noise.bounded(16)) - 8;
            line[x] = qRgb(qBound(0, x * 255 / width + grain, 255),
                           qBound(0, y * 255 / height + grain, 255), qBound(0, 128 + grain, 255));
        }
    }
    return image;
}

// What a paste of the clipboard's pixels shows, decoded as the page decodes it.
QImage pasted(const QUrl &url)
{
    QByteArray encoded;
    QImage pixels;
    if (!PictureStore::instance().takePasted(url, &encoded, &pixels))
        return QImage();
    const picturedata::Limits roomy{65535, qint64(1) << 32};
    const picturedata::Picture picture =
        pixels.isNull() ? picturedata::decode(encoded, roomy) : picturedata::accept(pixels, roomy);
    return picture.image.convertToFormat(QImage::Format_RGB32);
}

QMimeData *mimeWithText(const QString &text)
{
    auto *data = new QMimeData;
    data->setText(text);
    return data;
}

QMimeData *mimeWithUrls(const QList<QUrl> &urls)
{
    auto *data = new QMimeData;
    data->setUrls(urls);
    return data;
}

QMimeData *mimeWithImageData(const QVariant &imageData)
{
    auto *data = new QMimeData;
    data->setImageData(imageData);
    return data;
}

} // namespace

class ClipboardTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void reportsWhatWasCopiedBeforeTheStart();
    void clearAlwaysSignalsFalse();
    void textNamingAnImage_data();
    void textNamingAnImage();
    void onlyTheFirstCopiedUrlCounts();
    void pixelsArePastedExactly();
    void fileOfferedWithItsPixelsStaysAFile();
    void unusableContentEmptiesOnlyOnce();
    void emptyPixelsAreNoImage_data();
    void emptyPixelsAreNoImage();
    void junkAndHugeTextAreHarmless();
    void veryLargePictureIsPastedExactly();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString writeFile(const QString &name, const QByteArray &bytes) const;

    // Each of these changes the clipboard and returns once the watcher has
    // seen the change.
    bool change(const std::function<void()> &setContent);
    bool set(QMimeData *data);
    bool offerFromOtherProcess(const QByteArray &bytes, const QByteArray &type = QByteArray());

    // Brings the watcher to a known stored image, so that a following change
    // that offers nothing shows up as a false report.
    bool holdSomeImage(Clipboard &clipboard);
    // Lets the watcher give its report about the content at start, so that the
    // reports a test counts are about its own changes.
    static bool waitForStartReport(Clipboard &clipboard);

    QTemporaryDir m_dir;
    QString m_xclip;
    std::vector<std::unique_ptr<QProcess>> m_owners;
};

void ClipboardTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir::setCurrent(m_dir.path()));
    QVERIFY(cornersImage(64, 48).save(path("eye.jpg")));
    QVERIFY(cornersImage(64, 48).save(path("eye.JPEG"), "JPG"));
    QVERIFY(cornersImage(320, 240).save(path("fundus.png")));
    QVERIFY(cornersImage(64, 48).save(path("scan.bmp")));
#ifndef Q_OS_WIN
    // Elsewhere a file name may hold backslashes and a colon.
    QVERIFY(cornersImage(64, 48).save(path("C:\\images\\eye.jpg"), "JPG"));
    for (const char *name : {R"(\\server\photos\eye.jpg)", R"(\\?\UNC\server\photos\eye.jpg)"})
        QVERIFY(cornersImage(64, 48).save(path(QString::fromUtf8(name)), "JPG"));
#endif
    QVERIFY(QDir(m_dir.path()).mkdir("shots.png"));
    // Names holding what URLs use for other things, beside the names that a
    // misreading would take instead.
    for (const char *name : {"hash#1.png", "hash", "a%20b.png", "a b.png", "ojo ñandú.jpg"})
        QVERIFY(cornersImage(64, 48).save(path(QString::fromUtf8(name)), "PNG"));
#ifndef Q_OS_WIN
    // Windows refuses "?" in a file name (the printing test checks that a save
    // under such a name is refused there).
    for (const char *name : {"what?.png", "what"})
        QVERIFY(cornersImage(64, 48).save(path(QString::fromUtf8(name)), "PNG"));
#endif
    m_xclip = QStandardPaths::findExecutable("xclip");
}

// Taking the clipboard back makes the processes that served it let go and end
// on their own. Killing the owner instead would report a change later, in the
// middle of the next test.
void ClipboardTest::cleanup()
{
    if (m_owners.empty())
        return;
    QVERIFY(change([] { QGuiApplication::clipboard()->setText(QString()); }));
    for (auto &owner : m_owners) {
        if (!owner->waitForFinished(5000))
            owner->kill();
        owner->waitForFinished(5000);
    }
    m_owners.clear();
}

QString ClipboardTest::writeFile(const QString &name, const QByteArray &bytes) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return file.fileName();
}

bool ClipboardTest::change(const std::function<void()> &setContent)
{
    QSignalSpy changed(QGuiApplication::clipboard(), &QClipboard::dataChanged);
    setContent();
    return !changed.isEmpty() || changed.wait(20000);
}

bool ClipboardTest::set(QMimeData *data)
{
    return change([data] { QGuiApplication::clipboard()->setMimeData(data); });
}

// xclip stays in the foreground with -quiet and serves the content until
// another program takes the clipboard over.
bool ClipboardTest::offerFromOtherProcess(const QByteArray &bytes, const QByteArray &type)
{
    const QString file = writeFile(QStringLiteral("offer%1.bin").arg(m_owners.size()), bytes);
    if (file.isEmpty())
        return false;
    QStringList arguments{"-quiet", "-selection", "clipboard", "-i", file};
    if (!type.isEmpty())
        arguments << "-t" << QString::fromLatin1(type);
    auto owner = std::make_unique<QProcess>();
    QProcess *process = owner.get();
    m_owners.push_back(std::move(owner));
    return change([process, this, arguments] {
        process->start(m_xclip, arguments);
        process->waitForStarted();
    });
}

bool ClipboardTest::holdSomeImage(Clipboard &clipboard)
{
    const QUrl start = QUrl::fromLocalFile(path("fundus.png"));
    return set(mimeWithText(start.toString())) && clipboard.imageUrl() == start;
}

bool ClipboardTest::waitForStartReport(Clipboard &clipboard)
{
    QSignalSpy reports(&clipboard, &Clipboard::imageUrlChanged);
    return reports.wait(5000);
}

void ClipboardTest::reportsWhatWasCopiedBeforeTheStart()
{
    const QImage pixels = cornersImage(32, 32);
    QVERIFY(change([&pixels] { QGuiApplication::clipboard()->setImage(pixels); }));
    Clipboard clipboard;
    QSignalSpy reports(&clipboard, &Clipboard::imageUrlChanged);
    QVERIFY(reports.wait(5000));
    QCOMPARE(reports.at(0).at(0).toBool(), true);
    // Pasting does not use the image up: it can be pasted again.
    QCOMPARE(pasted(clipboard.imageUrl()), pixels);
    QCOMPARE(pasted(clipboard.imageUrl()), pixels);

    // Nothing to offer at the start is reported too.
    QVERIFY(change([] { QGuiApplication::clipboard()->setText("plain words"); }));
    Clipboard later;
    QSignalSpy laterReports(&later, &Clipboard::imageUrlChanged);
    QVERIFY(laterReports.wait(5000));
    QCOMPARE(laterReports.at(0).at(0).toBool(), false);

    // Pixels that another program copied before the start.
    if (m_xclip.isEmpty())
        QSKIP("xclip is needed to offer content from another process");
    QFile png(path("fundus.png"));
    QVERIFY(png.open(QIODevice::ReadOnly));
    QVERIFY(offerFromOtherProcess(png.readAll(), "image/png"));
    Clipboard last;
    QSignalSpy lastReports(&last, &Clipboard::imageUrlChanged);
    QVERIFY(lastReports.wait(5000));
    const QImage fundus = QImage(path("fundus.png")).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(pasted(last.imageUrl()), fundus);
    QCOMPARE(pasted(last.imageUrl()), fundus);
}

void ClipboardTest::clearAlwaysSignalsFalse()
{
    Clipboard clipboard;
    QVERIFY(waitForStartReport(clipboard));
    QSignalSpy reports(&clipboard, &Clipboard::imageUrlChanged);
    QVERIFY(holdSomeImage(clipboard));
    clipboard.clear();
    clipboard.clear();
    QCOMPARE(reports.size(), 3);
    QCOMPARE(reports.at(1).at(0).toBool(), false);
    QCOMPARE(reports.at(2).at(0).toBool(), false);
    QVERIFY(clipboard.imageUrl().isEmpty());

    // Copying the same image again re-enables pasting.
    QVERIFY(holdSomeImage(clipboard));
    QVERIFY(holdSomeImage(clipboard));
    QCOMPARE(reports.size(), 5);
    QCOMPARE(reports.at(4).at(0).toBool(), true);
}

void ClipboardTest::textNamingAnImage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QUrl>("expected"); // invalid: nothing usable

    const QString eyeJpg = path("eye.jpg");
    const auto named = [this](const char *name) { return path(QString::fromUtf8(name)); };
    const auto fileUrl = [named](const char *name) { return QUrl::fromLocalFile(named(name)); };
    // A path as a file URL's text holds it: one with a drive letter after a slash.
    const auto asUrlPath = [](const QString &local) {
        return local.startsWith(QLatin1Char('/')) ? local : QLatin1Char('/') + local;
    };
    QTest::newRow("file URL of a missing file") << "file:///C:/images/eye.PNG" << QUrl();
    QTest::newRow("file URL, suffix in capitals")
        << "file://" + asUrlPath(path("eye.JPEG")) << QUrl::fromLocalFile(path("eye.JPEG"));
    QTest::newRow("file URL naming localhost")
        << "file://localhost" + asUrlPath(eyeJpg) << QUrl::fromLocalFile(eyeJpg);
    QTest::newRow("file URL of another machine") << "file://server" + asUrlPath(eyeJpg) << QUrl();
    // Shares are refused before any look-up: on Windows a look-up is a network request.
    // Elsewhere each of these names an existing file, so a look-up would find it.
    QTest::newRow("share, Windows' way") << R"(\\server\photos\eye.jpg)" << QUrl();
    QTest::newRow("share, long form") << R"(\\?\UNC\server\photos\eye.jpg)" << QUrl();
#ifdef Q_OS_WIN
    QTest::newRow("share, with slashes") << "//server/photos/eye.jpg" << QUrl();
    QTest::newRow("share in a file URL's path") << "file:////server/photos/eye.jpg" << QUrl();
#else
    QTest::newRow("share, with slashes") << '/' + eyeJpg << QUrl();
    QTest::newRow("share in a file URL's path") << "file:///" + eyeJpg << QUrl();
#endif
    QTest::newRow("quoted path, as Windows copies one")
        << '"' + eyeJpg + '"' << QUrl::fromLocalFile(eyeJpg);
    QTest::newRow("# in a file URL")
        << "file://" + asUrlPath(named("hash#1.png")) << fileUrl("hash#1.png");
#ifndef Q_OS_WIN // no such file on Windows, which refuses "?" in a name
    QTest::newRow("? in a file URL")
        << "file://" + asUrlPath(named("what?.png")) << fileUrl("what?.png");
#endif
    QTest::newRow("%20 in a file URL is a space")
        << "file://" + asUrlPath(named("a%20b.png")) << fileUrl("a b.png");
    QTest::newRow("%20 in a path is itself") << named("a%20b.png") << fileUrl("a%20b.png");
    QTest::newRow("encoded file URL of a name with %, # and ?")
        << QString::fromLatin1(fileUrl("a%20b.png").toEncoded()) << fileUrl("a%20b.png");
    QTest::newRow("accents, encoded")
        << QString::fromLatin1(fileUrl("ojo ñandú.jpg").toEncoded()) << fileUrl("ojo ñandú.jpg");
    QTest::newRow("accents, as typed")
        << "file://" + asUrlPath(named("ojo ñandú.jpg")) << fileUrl("ojo ñandú.jpg");
    QTest::newRow("web address") << "http://127.0.0.1:9/eye.png" << QUrl();
    QTest::newRow("existing absolute path") << eyeJpg << QUrl::fromLocalFile(eyeJpg);
    QTest::newRow("existing relative path") << "eye.JPEG" << QUrl::fromLocalFile("eye.JPEG");
#ifdef Q_OS_WIN
    // What Explorer's "Copy as path" puts on the clipboard, and the path alone.
    QTest::newRow("Copy as path") << '"' + QDir::toNativeSeparators(eyeJpg) + '"'
                                  << QUrl::fromLocalFile(eyeJpg);
    QTest::newRow("drive letter and backslashes")
        << QDir::toNativeSeparators(eyeJpg) << QUrl::fromLocalFile(eyeJpg);
#else
    QTest::newRow("existing path with backslashes")
        << "C:\\images\\eye.jpg" << QUrl::fromLocalFile("C:\\images\\eye.jpg");
#endif
    QTest::newRow("missing path") << path("missing.png") << QUrl();
    QTest::newRow("FILE prefix is a file URL too")
        << "FILE://" + asUrlPath(eyeJpg) << QUrl::fromLocalFile(eyeJpg);
    QTest::newRow("folder named like a picture") << path("shots.png") << QUrl();
    QTest::newRow("existing file of another kind") << path("scan.bmp") << QUrl();
    QTest::newRow("file URL that does not parse") << "file://[::1/eye.png" << QUrl();
    QTest::newRow("inline JPEG") << "data:image/jpeg;base64,/9j/4AAQSkZJRg=="
                                 << QUrl("data:image/jpeg;base64,/9j/4AAQSkZJRg==");
    QTest::newRow("inline PNG") << "data:image/png;base64,iVBORw0KGgo=" << QUrl();
    QTest::newRow("inline JPEG prefix in capitals") << "DATA:image/jpeg;base64,/9j/" << QUrl();
    QTest::newRow("plain words") << "the left eye" << QUrl();
}

void ClipboardTest::textNamingAnImage()
{
    QFETCH(QString, text);
    QFETCH(QUrl, expected);
    Clipboard clipboard;
    QVERIFY(waitForStartReport(clipboard));
    QVERIFY(holdSomeImage(clipboard));
    QSignalSpy reports(&clipboard, &Clipboard::imageUrlChanged);

    QVERIFY(set(mimeWithText(text)));
    QCOMPARE(reports.size(), 1);
    QCOMPARE(reports.at(0).at(0).toBool(), expected.isValid());
    QCOMPARE(clipboard.imageUrl(), expected);
    // Stored as copied, not re-encoded.
    if (text.startsWith("data:"))
        QCOMPARE(clipboard.imageUrl().toString(), expected.isValid() ? text : QString());
}

void ClipboardTest::onlyTheFirstCopiedUrlCounts()
{
    const QUrl bmp = QUrl::fromLocalFile(path("scan.bmp"));
    const QUrl png = QUrl::fromLocalFile(path("fundus.png"));
    Clipboard clipboard;
    QVERIFY(waitForStartReport(clipboard));
    QSignalSpy reports(&clipboard, &Clipboard::imageUrlChanged);

    QVERIFY(set(mimeWithUrls({png, bmp})));
    QCOMPARE(clipboard.imageUrl(), png);
    QVERIFY(set(mimeWithUrls({bmp, png})));
    QVERIFY(clipboard.imageUrl().isEmpty());
    QVERIFY(set(mimeWithUrls({QUrl("https://example.org/eye.png"), png})));
    QVERIFY(clipboard.imageUrl().isEmpty());
    QCOMPARE(reports.size(), 2);

    // The same from a file manager in another process.
    if (m_xclip.isEmpty())
        QSKIP("xclip is needed to offer content from another process");
    const QByteArray list = png.toEncoded() + "\r\n" + bmp.toEncoded() + "\r\n";
    QVERIFY(offerFromOtherProcess(list, "text/uri-list"));
    QCOMPARE(clipboard.imageUrl(), png);
    const QByteArray reversed = bmp.toEncoded() + "\r\n" + png.toEncoded() + "\r\n";
    QVERIFY(offerFromOtherProcess(reversed, "text/uri-list"));
    QVERIFY(clipboard.imageUrl().isEmpty());
    QCOMPARE(reports.size(), 4);
}

// Pasted as copied, bit for bit: a screenshot keeps its exact pixels.
void ClipboardTest::pixelsArePastedExactly()
{
    const QImage pixels = photoLikeImage(640, 480);
    Clipboard clipboard;
    QVERIFY(waitForStartReport(clipboard));
    QSignalSpy reports(&clipboard, &Clipboard::imageUrlChanged);
    const auto checkDecoded = [&clipboard](const QImage &original) {
        QCOMPARE(pasted(clipboard.imageUrl()), original.convertToFormat(QImage::Format_RGB32));
    };

    QVERIFY(change([&pixels] { QGuiApplication::clipboard()->setImage(pixels); }));
    checkDecoded(pixels);
    QVERIFY(
        change([&pixels] { QGuiApplication::clipboard()->setPixmap(QPixmap::fromImage(pixels)); }));
    checkDecoded(pixels);

    // Text that names no picture does not hide the pixels that come with it.
    auto *withWords = mimeWithImageData(pixels);
    withWords->setText("the left eye");
    QVERIFY(set(withWords));
    checkDecoded(pixels);
    QCOMPARE(reports.size(), 3);
    for (const auto &report : reports)
        QCOMPARE(report.at(0).toBool(), true);

    if (m_xclip.isEmpty())
        QSKIP("xclip is needed to offer content from another process");
    QFile png(path("fundus.png"));
    QVERIFY(png.open(QIODevice::ReadOnly));
    QVERIFY(offerFromOtherProcess(png.readAll(), "image/png"));
    checkDecoded(QImage(path("fundus.png")));
    QCOMPARE(reports.size(), 4);
}

void ClipboardTest::fileOfferedWithItsPixelsStaysAFile()
{
    const QImage pixels(path("fundus.png"));
    QVERIFY(!pixels.isNull());
    Clipboard clipboard;
    QVERIFY(waitForStartReport(clipboard));

    auto *textAndPixels = mimeWithImageData(pixels);
    textAndPixels->setText(path("fundus.png"));
    QVERIFY(set(textAndPixels));
    QCOMPARE(clipboard.imageUrl(), QUrl::fromLocalFile(path("fundus.png")));

    auto *urlAndPixels = mimeWithImageData(pixels);
    urlAndPixels->setUrls({QUrl::fromLocalFile(path("eye.jpg"))});
    QVERIFY(set(urlAndPixels));
    QCOMPARE(clipboard.imageUrl(), QUrl::fromLocalFile(path("eye.jpg")));
}

void ClipboardTest::unusableContentEmptiesOnlyOnce()
{
    Clipboard clipboard;
    QVERIFY(waitForStartReport(clipboard));
    QSignalSpy reports(&clipboard, &Clipboard::imageUrlChanged);
    QVERIFY(change([] { QGuiApplication::clipboard()->setImage(cornersImage(40, 30)); }));
    QCOMPARE(reports.size(), 1);

    QVERIFY(change([] { QGuiApplication::clipboard()->setText("plain words"); }));
    QCOMPARE(reports.size(), 2);
    QCOMPARE(reports.at(1).at(0).toBool(), false);
    QVERIFY(clipboard.imageUrl().isEmpty());

    QVERIFY(change([] { QGuiApplication::clipboard()->setText("plain words again"); }));
    QCOMPARE(reports.size(), 2);

    if (m_xclip.isEmpty())
        QSKIP("xclip is needed to offer content from another process");
    QVERIFY(offerFromOtherProcess(QFile::encodeName(path("fundus.png"))));
    QCOMPARE(clipboard.imageUrl(), QUrl::fromLocalFile(path("fundus.png")));
    QVERIFY(offerFromOtherProcess("words from another program"));
    QCOMPARE(reports.size(), 4);
    QCOMPARE(reports.at(3).at(0).toBool(), false);
}

void ClipboardTest::emptyPixelsAreNoImage_data()
{
    QTest::addColumn<QVariant>("imageData");
    QTest::newRow("null image") << QVariant(QImage());
    QTest::newRow("null pixmap") << QVariant(QPixmap());
    QTest::newRow("not an image") << QVariant(QStringLiteral("not pixels"));
}

void ClipboardTest::emptyPixelsAreNoImage()
{
    QFETCH(QVariant, imageData);
    Clipboard clipboard;
    QVERIFY(waitForStartReport(clipboard));
    QVERIFY(holdSomeImage(clipboard));
    QSignalSpy reports(&clipboard, &Clipboard::imageUrlChanged);

    QVERIFY(set(mimeWithImageData(imageData)));
    QCOMPARE(reports.size(), 1);
    QCOMPARE(reports.at(0).at(0).toBool(), false);
    QVERIFY(clipboard.imageUrl().isEmpty());

    // Nothing was stored, so a second such copy reports nothing.
    QVERIFY(set(mimeWithImageData(imageData)));
    QCOMPARE(reports.size(), 1);
}

void ClipboardTest::junkAndHugeTextAreHarmless()
{
    QByteArray junk(1 << 20, '\0');
    QRandomGenerator generator(20240611);
    generator.fillRange(reinterpret_cast<quint32 *>(junk.data()), junk.size() / 4);
    const QString hugeWords = QString("the left eye ").repeated(3 << 20); // 39 MB
    const QString hugeInline =
        QString::fromLatin1(inlineJpegPrefix) + QString("QUJD").repeated(5 << 20);

    Clipboard clipboard;
    QVERIFY(waitForStartReport(clipboard));
    QSignalSpy reports(&clipboard, &Clipboard::imageUrlChanged);
    QVERIFY(holdSomeImage(clipboard));
    QVERIFY(set(mimeWithText(QString::fromLatin1(junk) + ".png")));
    QVERIFY(clipboard.imageUrl().isEmpty());
    QVERIFY(holdSomeImage(clipboard));
    QVERIFY(set(mimeWithText(hugeWords + ".jpg")));
    QVERIFY(clipboard.imageUrl().isEmpty());
    QVERIFY(set(mimeWithText(hugeInline)));
    QCOMPARE(clipboard.imageUrl().toString().size(), hugeInline.size());
    QCOMPARE(reports.size(), 5);

    if (m_xclip.isEmpty())
        QSKIP("xclip is needed to offer content from another process");
    QVERIFY(offerFromOtherProcess(junk));
    QVERIFY(clipboard.imageUrl().isEmpty());
    QVERIFY(holdSomeImage(clipboard));
    QVERIFY(offerFromOtherProcess(hugeWords.toUtf8()));
    QVERIFY(clipboard.imageUrl().isEmpty());
    QVERIFY(holdSomeImage(clipboard));
    // Another program's pixels are looked at only when pasted: junk is refused then.
    QVERIFY(offerFromOtherProcess(junk, "image/png"));
    QVERIFY(pasted(clipboard.imageUrl()).isNull());
    QCOMPARE(reports.size(), 10);
}

void ClipboardTest::veryLargePictureIsPastedExactly()
{
    const QImage photo = photoLikeImage(8000, 6000);
    Clipboard clipboard;
    QVERIFY(waitForStartReport(clipboard));
    QVERIFY(change([&photo] { QGuiApplication::clipboard()->setImage(photo); }));
    QCOMPARE(pasted(clipboard.imageUrl()), photo);

    // Across processes the picture travels in many pieces; flat colours keep
    // the PNG small enough to write quickly.
    if (m_xclip.isEmpty())
        QSKIP("xclip is needed to offer content from another process");
    const QImage flat = cornersImage(8000, 6000);
    QByteArray png;
    QBuffer buffer(&png);
    QVERIFY(buffer.open(QIODevice::WriteOnly) && flat.save(&buffer, "PNG"));
    QVERIFY(holdSomeImage(clipboard));
    QVERIFY(offerFromOtherProcess(png, "image/png"));
    QCOMPARE(pasted(clipboard.imageUrl()), flat);
}

QTEST_MAIN(ClipboardTest)
#include "tst_clipboard.moc"
