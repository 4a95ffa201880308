#pragma once

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QVariantMap>
#include <QVector>

namespace orvalith {

// What a saved composite carries besides its pixels, so that the file is a
// record on its own: the whole record as one text, each of its fields as a
// text of its own, and the same fields as an XMP packet, which also marks
// the picture as a composite (the overlay is part of its pixels).
struct ImageMetadata
{
    QString description;
    QVector<QPair<QString, QString>> texts; // keyword and value, in order
    QByteArray xmp;                         // empty for none
};

// From the window's record: "text" is the description, "fields" a map with
// picture, reference, eye, savedAt, calibrationReference, calibrationUnit,
// pixelsPerUnit and program; fields left empty are left out.
ImageMetadata compositeMetadata(const QVariantMap &record);

// The packet and the texts inserted as uncompressed international (UTF-8)
// text chunks after the PNG header, or the packet as an APP1 segment after the
// JPEG start (and its JFIF segment); bytes of any other shape are returned as
// they are.
QByteArray withPngRecord(const QByteArray &png, const ImageMetadata &metadata);
QByteArray withJpegXmp(const QByteArray &jpeg, const QByteArray &xmp);

// True when the file's first bytes, where the packet is written, hold the
// composite mark. Only that much is read, whatever the file's size.
bool carriesCompositeMark(const QString &path);

// The CRC-32 (ISO 3309) that every PNG chunk ends with, over its type and data.
quint32 pngChunkCrc(const QByteArray &typeAndData);

} // namespace orvalith
