// One measured run of the real main window taking in a picture: how long the
// window goes without answering, and how much memory the process peaks at.
//
//   orvalith_intake_bench open FILE          the page opens FILE as a drop would
//   orvalith_intake_bench clipboard FILE TYPE  another program (xclip) copies FILE as TYPE
//   orvalith_intake_bench paste FILE TYPE      the same, then Edit › Paste image at once
//   orvalith_intake_bench pictures FOLDER    writes the benchmark's own pictures
//
// A timer asks to run every 2 ms on the window's thread; the longest wait between
// two of its turns is the longest time the window could not answer. That wait is
// split by the kernel's account of the thread (Linux schedstat): busy_ms working,
// queued_ms ready but waiting for a processor (other work on a shared machine),
// and the rest blocked, mostly on the render thread while a frame is synchronised. The run ends
// once the page has settled (picture shown, refused or questioned; or, for the
// clipboard, the paste entry has been told) plus half a second for the frames that
// follow, or after 30 s. Prints one line:
// "gap_ms=… busy_ms=… queued_ms=… done_ms=… peak_mb=… outcome=…".
#include "app/appsetup.h"
#include "picture/clipboard.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QTimer>
#include <QUrl>

#include <cstdio>

namespace {

// The calling thread's time on a processor and time ready to run but waiting for
// one, in milliseconds, as the kernel counts them.
struct ThreadTimes
{
    double busy = 0;
    double queued = 0;
};

ThreadTimes threadTimes()
{
    ThreadTimes times;
    QFile stats(QStringLiteral("/proc/thread-self/schedstat"));
    if (!stats.open(QIODevice::ReadOnly))
        return times;
    const QList<QByteArray> fields = stats.readAll().split(' ');
    if (fields.size() >= 2) {
        times.busy = fields.at(0).toDouble() / 1e6;
        times.queued = fields.at(1).toDouble() / 1e6;
    }
    return times;
}

long peakKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').constFirst().toLong();
    }
    return -1;
}

QObject *findByName(QObject *root, const char *name)
{
    return root->findChild<QObject *>(QString::fromLatin1(name));
}

bool isVisible(QObject *root, const char *name)
{
    QObject *object = findByName(root, name);
    return object && object->property("visible").toBool();
}

// Shown, refused, or waiting for the user's word about an incomplete picture.
QString pageOutcome(QObject *page)
{
    QObject *image = page->property("image").value<QObject *>();
    if (isVisible(page, "loadErrorPopup"))
        return QStringLiteral("refused");
    if (isVisible(page, "incompletePictureDialog"))
        return QStringLiteral("questioned");
    // Where the page draws a scaled copy, the picture is shown once that is drawn.
    const auto *preview = page->property("picturePreview").value<QObject *>();
    if (image && image->property("status").toInt() == 1 &&
        image->property("sourceSize").toSize().width() > 0 &&
        (!preview || preview->property("drawn").toBool()))
        return QStringLiteral("shown");
    return QString();
}

void openOnPage(QObject *page, const QString &file)
{
    const QUrl url = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath());
    if (page->metaObject()->indexOfMethod("openPicture(QVariant)") >= 0) {
        QMetaObject::invokeMethod(page, "openPicture", Q_ARG(QVariant, QVariant(url)));
    } else {
        QObject *image = page->property("image").value<QObject *>();
        image->setProperty("source", url);
    }
}

QImage photoLike(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb(x * 255 / width, y * 255 / height, (x ^ y) & 255);
    }
    return image;
}

bool writePictures(const QDir &folder)
{
    if (!folder.mkpath(QStringLiteral(".")))
        return false;
    const QImage photo = photoLike(6000, 4000);
    const QImage smaller = photoLike(4000, 3000);
    QImage flat(20000, 15000, QImage::Format_RGB32);
    flat.fill(Qt::darkCyan);
    return photo.save(folder.filePath("photo-6000x4000.jpg"), "JPG", 90) &&
           photo.save(folder.filePath("photo-6000x4000.png"), "PNG", 30) &&
           smaller.save(folder.filePath("photo-4000x3000.jpg"), "JPG", 90) &&
           smaller.save(folder.filePath("photo-4000x3000.png"), "PNG", 30) &&
           flat.save(folder.filePath("flat-20000x15000.png"), "PNG", 0);
}

int run(int argc, char **argv)
{
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const QString file = QString::fromLocal8Bit(argv[2]);
    orvalith::setRenderingOptions();
    QApplication application(argc, argv);
    orvalith::setApplicationIdentity();
    orvalith::registerQmlTypes();
    QQmlApplicationEngine engine(QUrl(QStringLiteral("qrc:/main.qml")));
    if (engine.rootObjects().isEmpty())
        return 1;
    QObject *window = engine.rootObjects().constFirst();
    QObject *page = findByName(window, "mainPage");
    if (!page) {
        std::fprintf(stderr, "no page in the main window\n");
        return 1;
    }

    QElapsedTimer clock;
    qint64 lastTurn = 0;
    qint64 longestGap = 0;
    ThreadTimes lastTurnTimes;
    ThreadTimes longestGapTimes;
    qint64 doneAt = -1;
    QString outcome;
    bool clipboardReported = false;
    QProcess owner;

    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(2);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        const ThreadTimes times = threadTimes();
        if (now - lastTurn > longestGap) {
            longestGap = now - lastTurn;
            longestGapTimes.busy = times.busy - lastTurnTimes.busy;
            longestGapTimes.queued = times.queued - lastTurnTimes.queued;
        }
        lastTurn = now;
        lastTurnTimes = times;
        if (doneAt < 0) {
            if (mode == QLatin1String("clipboard"))
                outcome = clipboardReported ? QStringLiteral("offered") : QString();
            else
                outcome = pageOutcome(page);
            if (!outcome.isEmpty())
                doneAt = now;
        }
        if ((doneAt >= 0 && now - doneAt > 500) || now > 30000) {
            std::printf("gap_ms=%lld busy_ms=%.0f queued_ms=%.0f done_ms=%lld peak_mb=%ld "
                        "outcome=%s\n",
                        longestGap, longestGapTimes.busy, longestGapTimes.queued, doneAt,
                        peakKilobytes() / 1000, outcome.isEmpty() ? "none" : qPrintable(outcome));
            std::fflush(stdout);
            std::_Exit(0); // a decode may still hold a thread; the figures are out
        }
    });

    auto *clipboard = qobject_cast<Clipboard *>(findByName(window, "clipboard"));
    if (!clipboard)
        return 1;

    // Let the window settle first, so that start-up does not count.
    QTimer::singleShot(1500, [&] {
        clock.start();
        lastTurn = 0;
        lastTurnTimes = threadTimes();
        ticker.start();
        if (mode == QLatin1String("open")) {
            openOnPage(page, file);
            return;
        }
        // Connected only now: a report about what was there before does not count.
        QObject::connect(clipboard, &Clipboard::imageUrlChanged, [&, window](bool available) {
            clipboardReported = true;
            if (available && mode == QLatin1String("paste"))
                QMetaObject::invokeMethod(window, "pasteImage");
        });
        owner.start(QStringLiteral("xclip"), {"-quiet", "-selection", "clipboard", "-t",
                                              QString::fromLocal8Bit(argv[3]), "-i", file});
    });
    return QApplication::exec();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && QByteArray(argv[1]) == "pictures") {
        QCoreApplication application(argc, argv);
        return writePictures(QDir(QString::fromLocal8Bit(argv[2]))) ? 0 : 1;
    }
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (argc < 3 || ((mode == "clipboard" || mode == "paste") && argc != 4)) {
        std::fprintf(stderr, "usage: orvalith_intake_bench open FILE | clipboard FILE TYPE | "
                             "paste FILE TYPE | pictures FOLDER\n");
        return 2;
    }
    return run(argc, argv);
}
