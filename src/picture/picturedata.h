#pragma once

#include <QByteArray>
#include <QImage>

// Decides, from a picture's bytes alone, whether the page may show it, and
// decodes it when it may. Nothing here looks at a file's name.
namespace picturedata {

enum class Kind { Other, Jpeg, Png };

// JPEG and PNG are told by their first bytes; every other content is Other.
Kind kindOf(const QByteArray &bytes);

// True when a JPEG's compressed data runs on to its end-of-image marker, so
// that no lower part of the picture is missing.
bool jpegReachesItsEnd(const QByteArray &jpeg);

// The largest picture that is decoded at all.
struct Limits
{
    int largestSide;
    qint64 largestArea;
};

// The limits of this machine: the composite is captured at the picture's own
// size, so a side beyond the graphics stack's largest texture could be shown
// but never exported. The largest texture is the one noted from a window's
// context, or else asked of a context made for the purpose.
Limits machineLimits();
void noteLargestTextureSide(int side);

enum class Verdict { Readable, Incomplete, TooLarge, Unreadable };

struct Picture
{
    Verdict verdict;
    QImage image; // upright (EXIF orientation applied); null unless shown
};

// Only JPEG and PNG are decoded, and only after their header has declared a
// size within the limits: a small file may declare a picture of many gigabytes.
// A strip too thin to be drawn on the page cannot be used either.
Picture decode(const QByteArray &bytes, const Limits &limits);

// Pixels that are already decoded meet the same limits.
Picture accept(const QImage &pixels, const Limits &limits);

} // namespace picturedata
