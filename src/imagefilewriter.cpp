#include "imagefilewriter.h"

#include <QByteArray>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>
#include <QString>

namespace orvalith {

namespace {

QByteArray formatFromSuffix(const QFileInfo &file)
{
    const QByteArray format = file.suffix().toLower().toLatin1();
    if (format.isEmpty() || !QImageWriter::supportedImageFormats().contains(format))
        return {};
    return format;
}

} // namespace

bool writeImageFile(const QImage &image, const QString &fileName, int quality)
{
    // QFileInfo follows symbolic links, so this looks at what would be replaced.
    const QFileInfo target(fileName);
    const QByteArray format = formatFromSuffix(target);
    if (format.isEmpty())
        return false;
    // QSaveFile renames its finished copy over the name: on a device such as
    // /dev/full, with enough rights, that would replace the device node itself.
    if (target.exists() && !target.isFile())
        return false;

    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, format);
    writer.setQuality(quality);
    if (!writer.write(image)) {
        file.cancelWriting();
        return false;
    }
    // Reports write errors that only show when the buffers are flushed, such
    // as a full disk; on failure the copy is removed and the name left alone.
    return file.commit();
}

} // namespace orvalith
