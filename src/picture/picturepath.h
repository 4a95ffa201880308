#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// Turns what the user gave (typed or copied text, a dropped or copied URL) into
// the local file it names. Nothing but local files is ever named: an address of
// any other kind gives no path, so nothing is ever fetched from a network.
namespace picturepath {

// The local paths that text may name, most likely first: a file URL's path
// decoded, then as written (a name may hold "%", "#" or "?"); a plain path,
// also in the double quotes that Windows' "Copy as path" puts around it.
QStringList candidates(const QString &text);
QStringList candidates(const QUrl &url);

// The first candidate that is an existing regular file (after links), without
// opening it: a FIFO, a device or a folder is never one.
QString firstRegularFile(const QStringList &candidates);

// For files the user gives, any candidate; for the clipboard, one whose name
// also says JPEG or PNG.
bool hasImageSuffix(const QString &name);

} // namespace picturepath
