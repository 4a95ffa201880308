#pragma once

#include "recordmetadata.h"

#include <QString>

class QByteArray;

class QImage;

namespace orvalith {

// Why a picture was not written. The system's own error decides among the
// cases it can tell apart; anything else is Other, with the system's words.
enum class WriteFailure {
    None,
    UnknownFormat, // the name has no suffix, or one no encoder writes
    NotAFile,      // the name belongs to a folder, a device or the like
    NoPermission,  // not allowed to write there, or a read-only disk
    DiskFull,      // no room left, or over the user's quota or file size limit
    FolderMissing, // the folder of the name does not exist
    Other,
};

struct WriteResult
{
    WriteFailure failure = WriteFailure::None;
    QString systemMessage; // the system's description of the error, when there was one

    bool succeeded() const { return failure == WriteFailure::None; }
};

// Writes the picture in the format named by the file name's suffix (png, jpg,
// ...): JPEG at the highest quality, PNG losslessly and compressed, without an
// alpha channel where every pixel is opaque. The metadata's description goes
// into the file as a PNG text chunk or a JPEG comment under the key
// "Description", its texts as PNG international text chunks, its XMP packet
// into both. The new file takes the
// name only once it has been written completely, so a failed write (disk full, folder not writable)
// leaves an earlier file of that name as it was and no temporary file behind.
// A symbolic link is followed and its target replaced. Nothing is touched when
// the name has no suffix, names no writable format, or belongs to something
// other than a regular file (a folder, a device).
WriteResult writeImageFile(const QImage &image, const QString &fileName,
                           const ImageMetadata &metadata = {});

// Writes the bytes under the name, taken only once all of them are written: a
// failure leaves an earlier file of that name as it was and nothing else behind.
WriteResult writeBytesFile(const QByteArray &bytes, const QString &fileName);

} // namespace orvalith
