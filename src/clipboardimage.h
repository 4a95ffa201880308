#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <QVariant>

class QMimeData;

// Decides which image, if any, a piece of clipboard content offers. Each
// function returns an invalid URL when its kind of content holds no usable
// image, so that the caller can try the next kind.
namespace clipboardimage {

// True for names ending in .jpg, .jpeg or .png, whatever their case.
bool hasImageSuffix(const QString &name);

// An image named in copied text: a file URL, an inline JPEG URL or the path
// of an existing image file.
QUrl fromText(const QString &text);

// The first copied URL, when it is a file URL of an image.
QUrl fromUrls(const QList<QUrl> &urls);

// Copied pixels, re-encoded as an inline JPEG URL.
QUrl fromImageData(const QVariant &imageData);

// Text first, then URLs, then pixels: copied content that offers an image
// file together with its pixels yields the file, not a re-encoded copy.
QUrl fromMimeData(const QMimeData &data);

} // namespace clipboardimage
