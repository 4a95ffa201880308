#include "pngtext.h"

#include <QBuffer>
#include <QVector>
#include <QtEndian>

namespace pngtext {
namespace {

const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
constexpr qint64 chunkHeaderBytes = 8; // length and type
constexpr qint64 chunkCrcBytes = 4;

struct Span
{
    qint64 at;
    qint64 length;
};

bool isText(const QByteArray &type)
{
    return type == "tEXt" || type == "zTXt" || type == "iTXt";
}

// Walks the chunk headers by seeking, from the position just after the signature;
// a chunk that runs past the end stops the walk (the decoder judges the rest).
QVector<Span> largeTextChunks(QIODevice *device, qint64 start)
{
    QVector<Span> spans;
    const qint64 end = device->size();
    qint64 at = start + signature.size();
    while (at + chunkHeaderBytes <= end && device->seek(at)) {
        const QByteArray header = device->read(chunkHeaderBytes);
        if (header.size() != chunkHeaderBytes)
            break;
        const qint64 dataLength = qFromBigEndian<quint32>(header.constData());
        const qint64 length = chunkHeaderBytes + dataLength + chunkCrcBytes;
        if (at + length > end)
            break;
        if (isText(header.mid(4)) && dataLength > largestTextBytes)
            spans.append({at, length});
        at += length;
    }
    return spans;
}

bool readSpan(QIODevice *device, qint64 from, qint64 to, QByteArray *bytes)
{
    if (to <= from)
        return true;
    const int before = bytes->size();
    bytes->resize(before + int(to - from));
    return device->seek(from) && device->read(bytes->data() + before, to - from) == to - from;
}

} // namespace

bool readWithoutLargeText(QIODevice *device, QByteArray *bytes)
{
    const qint64 start = device->pos();
    if (device->peek(signature.size()) != signature) {
        *bytes = device->readAll();
        return true;
    }
    const QVector<Span> skipped = largeTextChunks(device, start);
    qint64 kept = device->size() - start;
    for (const Span &span : skipped)
        kept -= span.length;
    bytes->clear();
    bytes->reserve(int(kept));
    qint64 from = start;
    for (const Span &span : skipped) {
        if (!readSpan(device, from, span.at, bytes))
            return false;
        from = span.at + span.length;
    }
    return readSpan(device, from, device->size(), bytes);
}

QByteArray withoutLargeText(const QByteArray &bytes)
{
    QByteArray shared = bytes; // not copied
    QBuffer buffer(&shared);
    buffer.open(QIODevice::ReadOnly);
    if (!bytes.startsWith(signature) || largeTextChunks(&buffer, 0).isEmpty())
        return bytes;
    buffer.seek(0);
    QByteArray kept;
    return readWithoutLargeText(&buffer, &kept) ? kept : bytes;
}

} // namespace pngtext
