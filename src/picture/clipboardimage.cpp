#include "clipboardimage.h"

#include "picturepath.h"
#include "picturestore.h"

#include <QImage>
#include <QMimeData>
#include <QPixmap>

namespace clipboardimage {
namespace {

const QString inlineJpegPrefix = QStringLiteral("data:image/jpeg;base64,");

QImage imageFromVariant(const QVariant &imageData)
{
    if (imageData.userType() == QMetaType::QImage)
        return imageData.value<QImage>();
    if (imageData.userType() == QMetaType::QPixmap)
        return imageData.value<QPixmap>().toImage();
    QVariant converted = imageData;
    if (converted.convert(QMetaType::QImage))
        return converted.value<QImage>();
    return QImage();
}

QUrl imageFileAmong(const QStringList &candidates)
{
    QStringList named;
    for (const QString &path : candidates) {
        if (picturepath::hasImageSuffix(path))
            named << path;
    }
    const QString file = picturepath::firstRegularFile(named);
    return file.isEmpty() ? QUrl() : QUrl::fromLocalFile(file);
}

} // namespace

QUrl fromText(const QString &text)
{
    if (text.startsWith(inlineJpegPrefix))
        return QUrl(text, QUrl::TolerantMode);
    return imageFileAmong(picturepath::candidates(text));
}

QUrl fromUrls(const QList<QUrl> &urls)
{
    if (urls.isEmpty())
        return QUrl();
    return imageFileAmong(picturepath::candidates(urls.constFirst()));
}

// Another program's pixels would have to be fetched and decoded to be looked
// at, which is what deciding must not do; our own are at hand.
bool offersPixels(const QMimeData &data, bool ownContent)
{
    if (!data.hasImage())
        return false;
    return !ownContent || !imageFromVariant(data.imageData()).isNull();
}

QUrl namedImage(const QMimeData &data)
{
    QUrl url;
    if (data.hasText())
        url = fromText(data.text());
    if (!url.isValid() && data.hasUrls())
        url = fromUrls(data.urls());
    return url;
}

QUrl takePixels(const QMimeData &data)
{
    const QStringList formats = data.formats();
    for (const QString &type : {QStringLiteral("image/png"), QStringLiteral("image/jpeg")}) {
        if (!formats.contains(type))
            continue;
        const QByteArray encoded = data.data(type);
        if (!encoded.isEmpty())
            return PictureStore::instance().depositPasted(encoded);
    }
    const QImage pixels = imageFromVariant(data.imageData());
    if (pixels.isNull())
        return QUrl();
    return PictureStore::instance().depositPasted(pixels);
}

} // namespace clipboardimage
