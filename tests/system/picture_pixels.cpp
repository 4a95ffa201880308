// Decodes a PNG or JPEG file with Qt's own readers and writes its pixels as an
// uncompressed PAM file (8-bit RGBA, not premultiplied), which the system tests
// read with the Python standard library alone.
//
//   picture_pixels <picture> <out.pam>

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <cstdio>

namespace {

QByteArray pamHeader(const QImage &image)
{
    return QByteArray("P7\nWIDTH ") + QByteArray::number(image.width()) + "\nHEIGHT " +
           QByteArray::number(image.height()) +
           "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
}

bool writePam(const QImage &image, const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    if (file.write(pamHeader(image)) < 0)
        return false;
    const qint64 rowBytes = qint64(image.width()) * 4;
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const char *>(image.constScanLine(y));
        if (file.write(row, rowBytes) != rowBytes)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    // Decoding needs no window system, only the image format plugins.
    QCoreApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: picture_pixels <picture> <out.pam>\n");
        return 2;
    }
    QImageReader reader(QString::fromLocal8Bit(argv[1]));
    // The pixels as stored: the tests compare them with what was written.
    reader.setAutoTransform(false);
    const QImage image = reader.read();
    if (image.isNull()) {
        std::fprintf(stderr, "picture_pixels: %s: %s\n", argv[1], qPrintable(reader.errorString()));
        return 1;
    }
    if (!writePam(image.convertToFormat(QImage::Format_RGBA8888), QString::fromLocal8Bit(argv[2])))
        return 1;
    return 0;
}
