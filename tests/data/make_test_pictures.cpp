// Writes the pictures that the page tests and the memory benchmark open: ordinary PNG
// and JPEG files made with Qt's own encoders, a JPEG whose EXIF block asks for a quarter
// turn, a photo-sized JPEG, files that look like pictures but cannot be decoded, and
// files that claim more than they hold or are named unlike what they hold, and a
// composite saved by the program's own writer.
//
//   make_test_pictures <folder>

#include "output/imagefilewriter.h"
#include "output/recordmetadata.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QtEndian>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const QRgb red = qRgb(255, 0, 0);
const QRgb blue = qRgb(0, 0, 255);
const QRgb green = qRgb(0, 255, 0);

// Left half one colour, right half the other: any turn or mirror shows at a glance.
QImage twoColourImage(int width, int height, QRgb left, QRgb right)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = x < width / 2 ? left : right;
    }
    return image;
}

// Smooth colour ramps with a grid every 100 pixels, so that the encoder has real work.
QImage photoLikeImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const bool grid = x % 100 == 0 || y % 100 == 0;
            line[x] =
                grid ? qRgb(255, 255, 255) : qRgb(x * 255 / width, y * 255 / height, (x + y) % 256);
        }
    }
    return image;
}

// Each pixel's colour spells its own place: red and green the low bytes of x and y,
// blue their high nibbles, so that a magnified view can be checked pixel by pixel.
QImage coordinateCodedImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb(x & 255, y & 255, ((x >> 8) << 4) | (y >> 8));
    }
    return image;
}

void drawLine(QImage &image, QPointF from, QPointF to)
{
    const int steps =
        int(std::ceil(std::max(std::abs(to.x() - from.x()), std::abs(to.y() - from.y()))));
    for (int i = 0; i <= steps; ++i) {
        const QPointF p = from + (to - from) * (steps > 0 ? double(i) / steps : 0);
        image.setPixel(int(std::lround(p.x())), int(std::lround(p.y())), qRgb(0, 0, 0));
    }
}

// Black on white: an angle of 122.4 degrees with its vertex at (400, 330) and its ends
// at (700, 330) and (268, 122), and a limbus of radius 150 about (400, 200).
QImage drawnReadingsImage(bool circle)
{
    QImage image(800, 400, QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    if (!circle) {
        drawLine(image, QPointF(400, 330), QPointF(700, 330));
        drawLine(image, QPointF(400, 330), QPointF(268, 122));
        return image;
    }
    for (int degree = 0; degree < 360; ++degree) {
        const double a = qDegreesToRadians(double(degree));
        const double b = qDegreesToRadians(double(degree + 1));
        drawLine(image, QPointF(400 + 150 * std::cos(a), 200 + 150 * std::sin(a)),
                 QPointF(400 + 150 * std::cos(b), 200 + 150 * std::sin(b)));
    }
    return image;
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// An APP1 segment holding a big-endian TIFF block with one IFD entry: Orientation.
QByteArray exifOrientationSegment(quint16 orientation)
{
    QByteArray tiff;
    tiff += QByteArray("MM\0\x2a", 4);                 // byte order, magic 42
    tiff += QByteArray("\0\0\0\x08", 4);               // first IFD right after the header
    tiff += QByteArray("\0\x01", 2);                   // one entry
    tiff += QByteArray("\x01\x12\0\x03\0\0\0\x01", 8); // tag 0x0112, SHORT, count 1
    char value[4] = {0, 0, 0, 0};
    qToBigEndian(orientation, value);
    tiff += QByteArray(value, 4);
    tiff += QByteArray("\0\0\0\0", 4); // no next IFD

    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    char length[2];
    qToBigEndian(quint16(payload.size() + 2), length);
    return QByteArray("\xff\xe1", 2) + QByteArray(length, 2) + payload;
}

// The segment goes straight after the start-of-image marker, where readers look first.
QByteArray withExifOrientation(const QByteArray &jpeg, quint16 orientation)
{
    return jpeg.left(2) + exifOrientationSegment(orientation) + jpeg.mid(2);
}

// The same small JPEG with a frame header that claims another size.
QByteArray jpegDeclaring(QByteArray jpeg, quint16 width, quint16 height)
{
    const int frame = jpeg.indexOf("\xff\xc0");
    qToBigEndian(height, jpeg.data() + frame + 5);
    qToBigEndian(width, jpeg.data() + frame + 7);
    return jpeg;
}

// Through a small buffer: GCC 12 takes a store straight into a QByteArray's data
// for one past the array header and warns (MinGW's build).
void putBigEndian(QByteArray &bytes, int at, quint32 value)
{
    char field[4];
    qToBigEndian(value, field);
    bytes.replace(at, 4, field, 4);
}

// The same small PNG with a header chunk that claims another size.
QByteArray pngDeclaring(QByteArray png, quint32 width, quint32 height)
{
    const int header = 12; // signature, then the header chunk's length
    putBigEndian(png, header + 4, width);
    putBigEndian(png, header + 8, height);
    putBigEndian(png, header + 4 + 13, orvalith::pngChunkCrc(png.mid(header, 4 + 13)));
    return png;
}

bool writeFile(const QDir &folder, const QString &name, const QByteArray &bytes)
{
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "make_test_pictures: cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    return true;
}

bool writeReadablePictures(const QDir &folder)
{
    const QByteArray sideways = encoded(twoColourImage(80, 40, red, blue), "JPEG");
    return writeFile(folder, "landscape-800x400.png",
                     encoded(twoColourImage(800, 400, red, blue), "PNG")) &&
           writeFile(folder, "wide-2000x1000.jpg",
                     encoded(twoColourImage(2000, 1000, red, blue), "JPEG")) &&
           writeFile(folder, "tall-1000x2000.png",
                     encoded(twoColourImage(1000, 2000, green, blue), "PNG")) &&
           writeFile(folder, "ratio-400x300.jpg",
                     encoded(twoColourImage(400, 300, green, red), "JPEG")) &&
           writeFile(folder, "small-100x50.png",
                     encoded(twoColourImage(100, 50, blue, red), "PNG")) &&
           writeFile(folder, "scan.PNG", encoded(twoColourImage(300, 200, red, green), "PNG")) &&
           writeFile(folder, "eye.Jpeg", encoded(twoColourImage(200, 300, blue, green), "JPEG")) &&
           writeFile(folder, "upright-by-exif.jpg", withExifOrientation(sideways, 6)) &&
           writeFile(folder, "coded-2400x1600.png",
                     encoded(coordinateCodedImage(2400, 1600), "PNG")) &&
           writeFile(folder, "angle-800x400.png", encoded(drawnReadingsImage(false), "PNG")) &&
           writeFile(folder, "limbus-800x400.png", encoded(drawnReadingsImage(true), "PNG")) &&
           writeFile(folder, "photo-6000x4000.jpg", encoded(photoLikeImage(6000, 4000), "JPEG"));
}

// Files that a user may pick or drop by mistake; none of them can be decoded.
bool writeBrokenPictures(const QDir &folder)
{
    const QByteArray jpeg = encoded(twoColourImage(400, 300, green, red), "JPEG");
    return writeFile(folder, "empty.png", QByteArray()) &&
           writeFile(folder, "notes-renamed.png", "Shopping list: eye drops, tissues.\n") &&
           writeFile(folder, "cut-in-header.jpg", jpeg.left(100)) &&
           writeFile(folder, "cut-in-scan.jpg", jpeg.left(jpeg.size() / 2)) &&
           (folder.exists("folder.png") || folder.mkdir("folder.png"));
}

// Small files that claim huge pictures, content that the name belies, and names
// that hold what URLs use for other things; each readable one has a size of its own.
bool writeHostilePictures(const QDir &folder)
{
    const QByteArray jpeg = encoded(twoColourImage(40, 30, green, red), "JPEG");
    const QByteArray png = encoded(twoColourImage(40, 30, green, red), "PNG");
    bool written =
        writeFile(folder, "declares-65000x65000.jpg", jpegDeclaring(jpeg, 65000, 65000)) &&
        writeFile(folder, "declares-20000x15000.png", pngDeclaring(png, 20000, 15000)) &&
        writeFile(folder, "declares-16000x16000.png", pngDeclaring(png, 16000, 16000)) &&
        writeFile(folder, "svg-named.png",
                  "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"60000\" "
                  "height=\"60000\"/>\n") &&
        writeFile(folder, "jpeg-named.png", jpeg) &&
        writeFile(folder, "cut-in-rows.png", png.left(png.size() - 30));
    const QStringList oddNames = {"hash#1.png",
                                  "hash",
                                  "what?.png",
                                  "what",
                                  "a%20b.png",
                                  "a b.png",
                                  "ojo izquierdo ñandú.jpg"};
    for (int i = 0; written && i < oddNames.size(); ++i) {
        const QString &name = oddNames.at(i);
#ifdef Q_OS_WIN
        if (name.contains(QLatin1Char('?')))
            continue; // not a possible name there
#endif
        written = writeFile(folder, name,
                            encoded(twoColourImage(110 + i, 60, blue, green),
                                    name.endsWith(".jpg") ? "JPEG" : "PNG"));
    }
    return written;
}

} // namespace

// As the program saves it: the mark of a composite in its metadata.
bool writeComposite(const QDir &folder)
{
    const QVariantMap record{{"text", "Measure 1\t4.26\tmm"},
                             {"fields", QVariantMap{{"picture", "eye.jpg"}}}};
    return orvalith::writeImageFile(twoColourImage(300, 200, red, blue),
                                    folder.filePath("saved-composite.png"),
                                    orvalith::compositeMetadata(record))
        .succeeded();
}

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_test_pictures <folder>\n");
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath("."))
        return 1;
    return writeReadablePictures(folder) && writeBrokenPictures(folder) &&
                   writeHostilePictures(folder) && writeComposite(folder)
               ? 0
               : 1;
}
