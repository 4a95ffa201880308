#pragma once

class QImage;
class QString;

namespace orvalith {

// Writes the picture in the format named by the file name's suffix (png, jpg,
// ...). The new file takes the name only once it has been written completely,
// so a failed write (disk full, folder not writable) leaves an earlier file of
// that name as it was and no temporary file behind. A symbolic link is
// followed and its target replaced. Returns false without touching anything
// when the name has no suffix, names no writable format, or belongs to
// something other than a regular file (a folder, a device).
bool writeImageFile(const QImage &image, const QString &fileName, int quality);

} // namespace orvalith
