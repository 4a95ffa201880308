// One export of the composite, timed: loads the main window as the program
// does, shows a generated picture of the given size, asks the window to save,
// writes the image it hands over as the program does, and prints one line of
// figures, with the same image written as the program wrote it before (Qt's
// writer at quality 100, which stores PNG uncompressed) for comparison. With
// "no-overlay" the overlay is switched off, for the capture's cost without it. Run by
// bench/export.py, one process per case, so that each peak is its own.
#include "app/appsetup.h"
#include "output/imagefilewriter.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QQmlApplicationEngine>
#include <QQmlProperty>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QVariant>

#include <cstdio>
#include <functional>

namespace {

// A picture with smooth gradients and sensor-like grain, so that the encoders
// meet something closer to a photograph than a flat colour.
QImage photoLikePicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    QRandomGenerator grain(12345);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int noise = int(grain.bounded(9u)) - 4;
            line[x] = qRgb(qBound(0, 40 + 160 * x / width + noise, 255),
                           qBound(0, 30 + 120 * y / height + noise, 255),
                           qBound(0, 90 + 60 * (x + y) / (width + height) + noise, 255));
        }
    }
    return picture;
}

bool writeComposite(const QImage &image, const QString &path)
{
    return orvalith::writeImageFile(image, path).succeeded();
}

// How the program wrote every format before PNG was compressed: through a
// file that takes its name once complete, like the program's writer today.
bool writeCompositeAsBefore(const QImage &image, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, QFileInfo(path).suffix().toLatin1());
    writer.setQuality(100);
    return writer.write(image) && file.commit();
}

// Milliseconds taken to write the image, or -1 when it could not be written.
qint64 timedWrite(bool (*write)(const QImage &, const QString &), const QImage &image,
                  const QString &path)
{
    QElapsedTimer clock;
    clock.start();
    return write(image, path) ? clock.elapsed() : -1;
}

double fileMb(const QString &path)
{
    return double(QFileInfo(path).size()) / (1024 * 1024);
}

// Kilobytes of resident memory, now ("VmRSS") or at most so far ("VmHWM").
long memoryKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// Starts a new high-water mark from the current resident size.
void resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

QObject *findPage(QObject *window)
{
    return window->findChild<QObject *>(QStringLiteral("mainPage"));
}

class ExportProbe : public QObject
{
    Q_OBJECT
public:
    QElapsedTimer clock;
    qint64 capturedMs = -1;
    qint64 writtenMs = -1;
    QImage composite;
    QString path;
    bool written = false;

public slots:
    void onSaveImageRequested(const QVariant &image)
    {
        capturedMs = clock.elapsed();
        composite = image.value<QImage>();
        written = writeComposite(composite, path);
        writtenMs = clock.elapsed();
        QCoreApplication::quit();
    }
};

bool waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    orvalith::setRenderingOptions();
    QApplication application(argc, argv);
    orvalith::setApplicationIdentity();
    orvalith::registerQmlTypes();

    const QStringList arguments = QCoreApplication::arguments();
    const bool withOverlay = arguments.size() == 4;
    if ((arguments.size() != 4 && arguments.value(4) != QStringLiteral("no-overlay")) ||
        !QStringList({"png", "jpg"}).contains(arguments.value(3))) {
        std::fprintf(stderr, "usage: orvalith_export_bench WIDTH HEIGHT png|jpg [no-overlay]\n");
        return 2;
    }
    const int width = arguments.at(1).toInt();
    const int height = arguments.at(2).toInt();
    const QString format = arguments.at(3);

    QTemporaryDir folder;
    const QString picturePath = folder.filePath(QStringLiteral("picture.png"));
    if (!photoLikePicture(width, height).save(picturePath)) {
        std::fprintf(stderr, "could not write the picture\n");
        return 1;
    }

    QQmlApplicationEngine engine;
    engine.load(QUrl(QStringLiteral("qrc:/main.qml")));
    if (engine.rootObjects().isEmpty())
        return 1;
    QObject *window = engine.rootObjects().constFirst();
    QObject *page = findPage(window);
    QObject *image = page ? page->property("image").value<QObject *>() : nullptr;
    if (!image) {
        std::fprintf(stderr, "no page image in the main window\n");
        return 1;
    }
    image->setProperty("source", QUrl::fromLocalFile(picturePath));
    const bool shown = waitFor(
        [&] { return QQmlProperty::read(image, "sourceSize").toSize() == QSize(width, height); },
        60000);
    if (!shown) {
        std::fprintf(stderr, "the picture was not loaded\n");
        return 1;
    }
    if (!withOverlay)
        page->property("canvas").value<QObject *>()->setProperty("visible", false);
    waitFor([] { return false; }, 500); // a few frames with the picture on screen

    ExportProbe probe;
    probe.path = folder.filePath(QStringLiteral("composite.") + format);
    QObject::connect(window, SIGNAL(saveImageRequested(QVariant, QVariant)), &probe,
                     SLOT(onSaveImageRequested(QVariant)));
    const long rssBeforeKb = memoryKb("VmRSS");
    resetPeakMemory();
    probe.clock.start();
    QMetaObject::invokeMethod(window, "saveImage");
    QTimer::singleShot(300000, &application, &QCoreApplication::quit);
    QApplication::exec();
    const long peakKb = memoryKb("VmHWM");
    if (!probe.written) {
        std::fprintf(stderr, "the composite was not written\n");
        return 1;
    }

    // The same image through the same writer, alone, and as it was written before.
    const QString alonePath = folder.filePath(QStringLiteral("alone.") + format);
    const qint64 encodeMs = timedWrite(writeComposite, probe.composite, alonePath);
    const QString beforePath = folder.filePath(QStringLiteral("before.") + format);
    const qint64 beforeMs = timedWrite(writeCompositeAsBefore, probe.composite, beforePath);
    if (encodeMs < 0 || beforeMs < 0)
        return 1;

    const double compositeMb = double(probe.composite.sizeInBytes()) / (1024 * 1024);
    std::printf("%5dx%-5d %-3s composite %5dx%-5d %6.1f MB | capture %6lld ms  write %6lld ms"
                "  total %6lld ms | encode alone %6lld ms  ratio %4.2f | file %7.1f MB | "
                "rss before %6.0f MB  peak %6.0f MB (+%5.0f MB) | "
                "as before: write %6lld ms  file %7.1f MB\n",
                width, height, qPrintable(format), probe.composite.width(),
                probe.composite.height(), compositeMb, probe.capturedMs,
                probe.writtenMs - probe.capturedMs, probe.writtenMs, encodeMs,
                double(probe.writtenMs) / double(qMax<qint64>(1, encodeMs)), fileMb(probe.path),
                rssBeforeKb / 1024.0, peakKb / 1024.0, (peakKb - rssBeforeKb) / 1024.0, beforeMs,
                fileMb(beforePath));
    return 0;
}

#include "export_bench.moc"
