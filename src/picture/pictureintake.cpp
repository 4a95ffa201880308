#include "pictureintake.h"

#include "picturedata.h"
#include "picturepath.h"
#include "picturestore.h"
#include "pngtext.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QThreadPool>

#include <memory>

#include <limits>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using picturedata::Verdict;

const QString inlineJpegPrefix = QStringLiteral("data:image/jpeg;base64,");

// What a request reads: a local file, or bytes and pixels that came with it.
struct Content
{
    QString path;
    QByteArray bytes;
    QImage pixels;
};

// Opened without waiting (a FIFO would otherwise block until someone writes to
// it) and read only when what was opened is a regular file: a name can be
// swapped for something else between the look at it and the opening.
bool readRegularFile(const QString &path, QByteArray *bytes)
{
    QFile file;
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat status;
    if (fd < 0)
        return false;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
#else
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
#endif
    // A byte array holds less than 2 GB: more than a picture within the limits
    // takes even stored uncompressed at 8 bits a channel.
    if (file.size() <= 0 || file.size() >= std::numeric_limits<int>::max())
        return false;
    return pngtext::readWithoutLargeText(&file, bytes) && !bytes->isEmpty();
}

picturedata::Picture examine(const Content &content, const picturedata::Limits &limits)
{
    if (!content.pixels.isNull())
        return picturedata::accept(content.pixels, limits);
    QByteArray bytes = content.bytes;
    if (!content.path.isEmpty() && !readRegularFile(content.path, &bytes))
        return {Verdict::Unreadable, QImage()};
    return picturedata::decode(bytes, limits);
}

// Nothing thrown here may reach the thread pool, which would end the program and
// every unsaved measure with it: a picture that cannot be held (memory ran out
// while decoding it) is one that cannot be read.
Verdict examineAndStore(const Content &content, const picturedata::Limits &limits, QUrl *url)
{
    try {
        const picturedata::Picture picture = examine(content, limits);
        if (!picture.image.isNull())
            *url = PictureStore::instance().addDecoded(picture.image);
        return picture.verdict;
    } catch (...) {
        return Verdict::Unreadable;
    }
}

// Only addresses the store handed out, inline JPEG and local files are read.
bool contentOf(const QVariant &source, Content *content)
{
    const QUrl url = source.toUrl();
    if (PictureStore::isStored(url))
        return PictureStore::instance().takePasted(url, &content->bytes, &content->pixels);
    const QString text =
        source.userType() == QMetaType::QUrl ? url.toString(QUrl::FullyEncoded) : source.toString();
    if (text.startsWith(inlineJpegPrefix)) {
        content->bytes = QByteArray::fromBase64(text.mid(inlineJpegPrefix.size()).toLatin1());
        return true;
    }
    content->path = picturepath::firstRegularFile(picturepath::candidates(text));
    return !content->path.isEmpty();
}

} // namespace

PictureIntake::PictureIntake(QObject *parent) : QObject(parent)
{
    m_slowTimer.setSingleShot(true);
    m_slowTimer.setInterval(100);
    connect(&m_slowTimer, &QTimer::timeout, this, [this] {
        m_slow = true;
        emit slowChanged();
        m_stepTimer.start();
    });
    m_stepTimer.setInterval(250);
    connect(&m_stepTimer, &QTimer::timeout, this, [this] {
        ++m_slowSteps;
        emit slowStepsChanged();
    });
}

void PictureIntake::setSlowAfter(int milliseconds)
{
    if (milliseconds == slowAfter())
        return;
    m_slowTimer.setInterval(qMax(0, milliseconds));
    emit slowAfterChanged();
}

// The page's image reads decoded pictures from the store through this engine.
void PictureIntake::classBegin()
{
    QQmlEngine *engine = qmlEngine(this);
    if (engine && !engine->imageProvider(StoredPictureProvider::hostName))
        engine->addImageProvider(StoredPictureProvider::hostName, new StoredPictureProvider);
}

// The window's own graphics context tells the largest texture at its next frame,
// on the render thread; asking a context of our own would stall the window.
void PictureIntake::componentComplete()
{
    // The decoders' plugins are loaded here, not first on a reading thread, where
    // loading holds a lock that the window's thread may then wait for.
    QByteArray nothing;
    QBuffer noBytes(&nothing);
    QImageReader(&noBytes, "jpeg").canRead();
    auto *item = qobject_cast<QQuickItem *>(parent());
    if (!item)
        return;
    const auto learnFrom = [](QQuickWindow *window) {
        if (!window)
            return;
        auto connection = std::make_shared<QMetaObject::Connection>();
        *connection = connect(
            window, &QQuickWindow::beforeRendering, window,
            [connection] {
                QOpenGLContext *context = QOpenGLContext::currentContext();
                if (!context)
                    return;
                GLint side = 0;
                context->functions()->glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
                picturedata::noteLargestTextureSide(int(side));
                QObject::disconnect(*connection);
            },
            Qt::DirectConnection);
    };
    learnFrom(item->window());
    connect(item, &QQuickItem::windowChanged, this, learnFrom);
}

void PictureIntake::open(const QVariant &source)
{
    const quint64 request = ++m_request;
    Content content;
    if (!contentOf(source, &content)) {
        finish(request, Verdict::Unreadable, QUrl());
        return;
    }
    m_requestFile = content.path.isEmpty() ? QUrl() : QUrl::fromLocalFile(content.path);
    const bool wasBusy = busy();
    m_pending = request;
    if (!wasBusy) {
        m_slowTimer.start();
        emit busyChanged();
    }
    const picturedata::Limits limits = picturedata::machineLimits();
    QPointer<PictureIntake> self(this);
    QThreadPool::globalInstance()->start([self, request, content, limits] {
        QUrl url;
        const Verdict verdict = examineAndStore(content, limits, &url);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, request, verdict, url] {
                if (self)
                    self->finish(request, verdict, url);
                else
                    PictureStore::instance().forget(url);
            },
            Qt::QueuedConnection);
    });
}

void PictureIntake::keepOnly(const QList<QUrl> &urls)
{
    PictureStore::instance().keepOnly(urls);
}

void PictureIntake::finish(quint64 request, picturedata::Verdict verdict, const QUrl &url)
{
    if (request != m_request) { // overtaken by a newer request
        PictureStore::instance().forget(url);
        return;
    }
    if (busy()) {
        m_pending = 0;
        m_slowTimer.stop();
        emit busyChanged();
    }
    if (m_slow) {
        m_slow = false;
        m_stepTimer.stop();
        emit slowChanged();
    }
    if (m_slowSteps != 0) {
        m_slowSteps = 0;
        emit slowStepsChanged();
    }
    switch (verdict) {
    case Verdict::Readable:
    case Verdict::Incomplete:
        emit pictureReady(url, verdict == Verdict::Incomplete, m_requestFile);
        break;
    case Verdict::TooLarge: {
        const picturedata::Limits limits = picturedata::machineLimits();
        emit pictureRefused(true, limits.largestSide, int(limits.largestArea / 1000000));
        break;
    }
    case Verdict::Unreadable:
        emit pictureRefused(false, 0, 0);
        break;
    }
}
