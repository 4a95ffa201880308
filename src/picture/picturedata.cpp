#include "picturedata.h"

#include "pngtext.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <atomic>

namespace picturedata {
namespace {

// Larger than any camera makes (the largest backs take about 150 megapixels),
// and 1 GB once decoded at 4 bytes a pixel; the export needs as much again for
// the composite, which a machine with 4 GB can still hold.
constexpr qint64 largestAreaInPixels = 250 * 1000 * 1000;

// Where no OpenGL context can be made (a software renderer), the common limit
// of current graphics stacks.
constexpr int fallbackLargestSide = 16384;

// Noted from the render thread, read on the window's.
std::atomic<int> notedLargestSide{0};

int largestTextureSide()
{
    QOpenGLContext context;
    QOffscreenSurface surface;
    surface.create();
    if (!context.create() || !context.makeCurrent(&surface))
        return fallbackLargestSide;
    GLint side = 0;
    context.functions()->glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
    context.doneCurrent();
    return side > 0 ? int(side) : fallbackLargestSide;
}

quint8 byteAt(const QByteArray &bytes, int index)
{
    return quint8(bytes.at(index));
}

int segmentLength(const QByteArray &jpeg, int at)
{
    return byteAt(jpeg, at) << 8 | byteAt(jpeg, at + 1);
}

// Inside compressed data a 0xFF byte is followed by 0x00 (a stuffed byte) or by
// a restart marker; anything else is the next marker. Returns its position, or
// -1 when the data stops first.
int nextMarkerAfterScan(const QByteArray &jpeg, int from)
{
    for (int at = jpeg.indexOf(char(0xff), from); at >= 0 && at + 1 < jpeg.size();
         at = jpeg.indexOf(char(0xff), at + 1)) {
        const quint8 next = byteAt(jpeg, at + 1);
        if (next != 0x00 && next != 0xff && (next < 0xd0 || next > 0xd7))
            return at;
    }
    return -1;
}

// The page fits the picture to its drawing area, a few hundred pixels a side
// at the least: a picture whose short side is less than this fraction of its long
// side would be drawn a few pixels thin or less, and nothing could be placed on it.
constexpr int largestSideRatio = 100;

bool tooThinToShow(const QSize &size)
{
    const int shortSide = qMin(size.width(), size.height());
    const int longSide = qMax(size.width(), size.height());
    return qint64(shortSide) * largestSideRatio < longSide;
}

bool withinLimits(const QSize &size, const Limits &limits)
{
    return size.width() <= limits.largestSide && size.height() <= limits.largestSide &&
           qint64(size.width()) * size.height() <= limits.largestArea;
}

} // namespace

Kind kindOf(const QByteArray &bytes)
{
    if (bytes.startsWith("\xff\xd8\xff"))
        return Kind::Jpeg;
    if (bytes.startsWith(QByteArray("\x89PNG\r\n\x1a\n", 8)))
        return Kind::Png;
    return Kind::Other;
}

// Walks the segments from the start-of-image marker; a progressive picture has
// several scans, each followed by more segments.
bool jpegReachesItsEnd(const QByteArray &jpeg)
{
    int at = 2;
    while (at + 3 < jpeg.size()) {
        if (byteAt(jpeg, at) != 0xff)
            return false;
        const quint8 marker = byteAt(jpeg, at + 1);
        if (marker == 0xd9)
            return true;
        if (marker == 0xff) { // fill bytes before a marker
            ++at;
            continue;
        }
        const int end = at + 2 + segmentLength(jpeg, at + 2);
        if (marker != 0xda) {
            at = end;
            continue;
        }
        at = nextMarkerAfterScan(jpeg, end);
        if (at < 0)
            return false;
    }
    return at + 1 < jpeg.size() && byteAt(jpeg, at) == 0xff && byteAt(jpeg, at + 1) == 0xd9;
}

void noteLargestTextureSide(int side)
{
    if (side > 0)
        notedLargestSide = side;
}

Limits machineLimits()
{
    if (notedLargestSide > 0)
        return {notedLargestSide, largestAreaInPixels};
    // Asked once; the answer does not change while the program runs.
    static const int largestSide = largestTextureSide();
    return {largestSide, largestAreaInPixels};
}

Picture decode(const QByteArray &bytes, const Limits &limits)
{
    const Kind kind = kindOf(bytes);
    if (kind == Kind::Other)
        return {Verdict::Unreadable, QImage()};
    QByteArray data = kind == Kind::Png ? pngtext::withoutLargeText(bytes) : bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, kind == Kind::Jpeg ? "jpeg" : "png");
    reader.setAutoTransform(true);
    const QSize declared = reader.size();
    if (!declared.isValid() || declared.isEmpty())
        return {Verdict::Unreadable, QImage()};
    if (!withinLimits(declared, limits))
        return {Verdict::TooLarge, QImage()};
    if (tooThinToShow(declared))
        return {Verdict::Unreadable, QImage()};
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return {Verdict::Unreadable, QImage()};
    const bool complete = kind == Kind::Png || jpegReachesItsEnd(bytes);
    return {complete ? Verdict::Readable : Verdict::Incomplete, image};
}

Picture accept(const QImage &pixels, const Limits &limits)
{
    if (pixels.isNull())
        return {Verdict::Unreadable, QImage()};
    if (!withinLimits(pixels.size(), limits))
        return {Verdict::TooLarge, QImage()};
    if (tooThinToShow(pixels.size()))
        return {Verdict::Unreadable, QImage()};
    return {Verdict::Readable, pixels};
}

} // namespace picturedata
