#include "picturestore.h"

#include <QMutexLocker>

namespace {

const QString scheme = QStringLiteral("image");

QString idOf(const QUrl &url)
{
    return url.path().mid(1);
}

} // namespace

const QString StoredPictureProvider::hostName = QStringLiteral("orvalith");

PictureStore &PictureStore::instance()
{
    static PictureStore store;
    return store;
}

QString PictureStore::nextId(const char *kind)
{
    return QStringLiteral("%1-%2").arg(QLatin1String(kind)).arg(++m_counter);
}

bool PictureStore::isStored(const QUrl &url)
{
    return url.scheme() == scheme && url.host() == StoredPictureProvider::hostName;
}

static QUrl urlOf(const QString &id)
{
    QUrl url;
    url.setScheme(scheme);
    url.setHost(StoredPictureProvider::hostName);
    url.setPath(QLatin1Char('/') + id);
    return url;
}

QUrl PictureStore::depositPasted(const QByteArray &encoded)
{
    QMutexLocker lock(&m_mutex);
    m_pastedId = nextId("pasted");
    m_pastedBytes = encoded;
    m_pastedPixels = QImage();
    return urlOf(m_pastedId);
}

QUrl PictureStore::depositPasted(const QImage &pixels)
{
    QMutexLocker lock(&m_mutex);
    m_pastedId = nextId("pasted");
    m_pastedBytes.clear();
    m_pastedPixels = pixels;
    return urlOf(m_pastedId);
}

bool PictureStore::takePasted(const QUrl &url, QByteArray *encoded, QImage *pixels)
{
    QMutexLocker lock(&m_mutex);
    if (!isStored(url) || idOf(url) != m_pastedId)
        return false;
    *encoded = m_pastedBytes;
    *pixels = m_pastedPixels;
    m_pastedId.clear();
    m_pastedBytes.clear();
    m_pastedPixels = QImage();
    return true;
}

QUrl PictureStore::addDecoded(const QImage &image)
{
    QMutexLocker lock(&m_mutex);
    const QString id = nextId("picture");
    m_decoded.insert(id, image);
    return urlOf(id);
}

QImage PictureStore::decoded(const QString &id) const
{
    QMutexLocker lock(&m_mutex);
    return m_decoded.value(id);
}

void PictureStore::keepOnly(const QList<QUrl> &urls)
{
    QStringList kept;
    for (const QUrl &url : urls) {
        if (isStored(url))
            kept << idOf(url);
    }
    QMutexLocker lock(&m_mutex);
    for (auto it = m_decoded.begin(); it != m_decoded.end();) {
        if (kept.contains(it.key()))
            ++it;
        else
            it = m_decoded.erase(it);
    }
}

void PictureStore::forget(const QUrl &url)
{
    if (!isStored(url))
        return;
    QMutexLocker lock(&m_mutex);
    m_decoded.remove(idOf(url));
}

StoredPictureProvider::StoredPictureProvider() : QQuickImageProvider(QQuickImageProvider::Image) {}

// A requested size smaller than the picture gets a copy scaled to fit inside it,
// its proportions kept (a side given as 0 or less follows the other): the page
// draws such a copy, made on the image loader's thread. Otherwise the picture
// itself comes back, not copied.
QImage StoredPictureProvider::requestImage(const QString &id, QSize *size,
                                           const QSize &requestedSize)
{
    const QImage image = PictureStore::instance().decoded(id);
    if (size)
        *size = image.size();
    if (image.isNull() || (requestedSize.width() <= 0 && requestedSize.height() <= 0))
        return image;
    const QSize bounds(requestedSize.width() > 0 ? requestedSize.width() : image.width(),
                       requestedSize.height() > 0 ? requestedSize.height() : image.height());
    const QSize fitted = image.size().scaled(bounds, Qt::KeepAspectRatio);
    if (fitted.width() >= image.width() || fitted.isEmpty())
        return image;
    return image.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
