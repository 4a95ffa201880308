#include "imagefilewriter.h"

#include <QBuffer>
#include <QByteArray>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#endif

namespace orvalith {

namespace {

const QString recordTextKey = QStringLiteral("Description");

constexpr int jpegQuality = 100;
// Qt spreads its 0 to 100 compression ratio over zlib's levels 0 to 9, and its
// PNG "quality 100" means level 0, no compression at all. On a photograph the
// fastest level already takes the file to about a quarter of its size; the
// default level saves a tenth more in three times the time (bench/export.py).
constexpr int pngZlibLevel = 1;
constexpr int pngCompression = (pngZlibLevel * 91 + 8) / 9;

QByteArray formatFromSuffix(const QFileInfo &file)
{
    const QByteArray format = file.suffix().toLower().toLatin1();
    if (format.isEmpty() || !QImageWriter::supportedImageFormats().contains(format))
        return {};
    return format;
}

// The composite has an alpha channel because it is captured from the scene,
// but where the picture covers the drawing area no pixel uses it.
// Read in place where the alpha sits in every 32-bit pixel, as in a capture,
// so that a photo-sized composite is not copied just to be looked at.
bool isOpaque(const QImage &image)
{
    if (!image.hasAlphaChannel())
        return true;
    const bool inPlace = image.format() == QImage::Format_ARGB32 ||
                         image.format() == QImage::Format_ARGB32_Premultiplied;
    const QImage argb = inPlace ? image : image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(line[x]) != 255)
                return false;
    }
    return true;
}

// Encoded in memory first, so that a failure to write the file is the
// system's alone and can be told apart from the encoder's.
bool encode(QImage image, const QByteArray &format, const ImageMetadata &metadata,
            QByteArray *bytes)
{
    if (isOpaque(image))
        image = image.convertToFormat(QImage::Format_RGB888);
    // Set on the picture rather than the writer: the writer's own text is
    // folded onto one line, and the record keeps its lines and tabs.
    if (!metadata.description.isEmpty())
        image.setText(recordTextKey, metadata.description);
    QBuffer buffer(bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (format == "png")
        writer.setCompression(pngCompression);
    else
        writer.setQuality(jpegQuality);
    if (!writer.write(image))
        return false;
    buffer.close();
    if (format == "png")
        *bytes = withPngRecord(*bytes, metadata);
    else if (format == "jpeg" || format == "jpg")
        *bytes = withJpegXmp(*bytes, metadata.xmp);
    return true;
}

// Read straight after the failing call, before anything else can change it.
WriteFailure lastSystemFailure()
{
#ifdef Q_OS_WIN
    switch (GetLastError()) {
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return WriteFailure::NoPermission;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return WriteFailure::DiskFull;
    case ERROR_PATH_NOT_FOUND:
        return WriteFailure::FolderMissing;
    default:
        return WriteFailure::Other;
    }
#else
    switch (errno) {
    case EACCES:
    case EPERM:
    case EROFS:
        return WriteFailure::NoPermission;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return WriteFailure::DiskFull;
    case ENOENT:
    case ENOTDIR:
        return WriteFailure::FolderMissing;
    default:
        return WriteFailure::Other;
    }
#endif
}

WriteResult failed(WriteFailure failure, const QString &systemMessage = QString())
{
    return {failure, systemMessage};
}

} // namespace

// Unbuffered, so that every write reaches the system at once and a failure is
// reported by the call that caused it.
WriteResult writeBytesFile(const QByteArray &bytes, const QString &fileName)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const WriteFailure failure = lastSystemFailure();
        return failed(failure, file.errorString());
    }
    if (file.write(bytes) != bytes.size()) {
        const WriteFailure failure = lastSystemFailure();
        const QString message = file.errorString();
        file.cancelWriting();
        return failed(failure, message);
    }
    // Reports errors that only show when the file is closed and takes its
    // name; on failure the copy is removed and the name left alone.
    if (!file.commit())
        return failed(WriteFailure::Other, file.errorString());
    return {};
}

WriteResult writeImageFile(const QImage &image, const QString &fileName,
                           const ImageMetadata &metadata)
{
    // QFileInfo follows symbolic links, so this looks at what would be replaced.
    const QFileInfo target(fileName);
    const QByteArray format = formatFromSuffix(target);
    if (format.isEmpty())
        return failed(WriteFailure::UnknownFormat);
    // QSaveFile renames its finished copy over the name: on a device such as
    // /dev/full, with enough rights, that would replace the device node itself.
    if (target.exists() && !target.isFile())
        return failed(WriteFailure::NotAFile);

    QByteArray bytes;
    if (!encode(image, format, metadata, &bytes))
        return failed(WriteFailure::Other);
    WriteResult result = writeBytesFile(bytes, fileName);
    // The system answers "no such file" also where a folder that exists takes
    // no new names (/proc): that is not a missing folder.
    if (result.failure == WriteFailure::FolderMissing && QFileInfo(target.absolutePath()).isDir())
        result.failure = WriteFailure::Other;
    return result;
}

} // namespace orvalith
