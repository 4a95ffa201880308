#pragma once

#include <QList>
#include <QString>
#include <QUrl>

class QMimeData;

// Decides which image, if any, a piece of clipboard content offers. Deciding
// only looks: copied pixels are neither fetched from their owner nor encoded
// until the user pastes them.
namespace clipboardimage {

// An image named in copied text: an inline JPEG URL, or a local path or file
// URL of an existing regular file whose name says JPEG or PNG. Invalid if none.
QUrl fromText(const QString &text);

// The first copied URL, when it names such a file.
QUrl fromUrls(const QList<QUrl> &urls);

// Whether the content holds pixels (in any format the platform can give).
bool offersPixels(const QMimeData &data, bool ownContent);

// Text first, then URLs: content that offers an image file together with its
// pixels yields the file. Invalid when it offers no file and no inline JPEG.
QUrl namedImage(const QMimeData &data);

// At paste time: the copied pixels as their owner encoded them (PNG or JPEG,
// kept bit for bit), or else as decoded pixels, handed to the picture store.
// Returns the store's address for them, or an invalid URL.
QUrl takePixels(const QMimeData &data);

} // namespace clipboardimage
