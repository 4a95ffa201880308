#include "clipboardimage.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QPixmap>

namespace clipboardimage {
namespace {

const QString filePrefix = QStringLiteral("file://");
const QString inlineJpegPrefix = QStringLiteral("data:image/jpeg;base64,");

QUrl parsedUrl(const QString &text)
{
    return QUrl(text, QUrl::TolerantMode);
}

// Only an existing regular file can be a picture: a folder that happens to be
// called "shots.png" is not one.
bool isExistingFile(const QString &path)
{
    // A NUL byte cannot occur in a file name; junk text is not asked about.
    if (path.contains(QChar(0)))
        return false;
    return QFileInfo(path).isFile();
}

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

} // namespace

bool hasImageSuffix(const QString &name)
{
    return name.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1String(".jpeg"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
}

QUrl fromText(const QString &text)
{
    if (text.startsWith(inlineJpegPrefix))
        return parsedUrl(text);
    if (!hasImageSuffix(text))
        return QUrl();
    if (text.startsWith(filePrefix))
        return parsedUrl(text);
    if (isExistingFile(text))
        return QUrl::fromLocalFile(text);
    return QUrl();
}

QUrl fromUrls(const QList<QUrl> &urls)
{
    if (urls.isEmpty())
        return QUrl();
    const QUrl &first = urls.constFirst();
    const QString name = first.toString();
    if (name.startsWith(filePrefix) && hasImageSuffix(name))
        return first;
    return QUrl();
}

QUrl fromImageData(const QVariant &imageData)
{
    const QImage image = imageFromVariant(imageData);
    if (image.isNull())
        return QUrl();
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "JPG", 90) || jpeg.isEmpty())
        return QUrl();
    return parsedUrl(inlineJpegPrefix + QString::fromLatin1(jpeg.toBase64()));
}

// A URL that does not parse is invalid and counts as no image: reported as
// one, it would only fail to load.
QUrl fromMimeData(const QMimeData &data)
{
    QUrl url;
    if (data.hasText())
        url = fromText(data.text());
    if (!url.isValid() && data.hasUrls())
        url = fromUrls(data.urls());
    if (!url.isValid() && data.hasImage())
        url = fromImageData(data.imageData());
    return url;
}

} // namespace clipboardimage
