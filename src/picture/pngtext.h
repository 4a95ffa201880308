#pragma once

#include <QByteArray>
#include <QIODevice>

// A PNG may carry text of any length (a text chunk can declare up to 2 GB), and
// the decoder keeps every text it reads, several times over. Text beyond a sane
// size is therefore left out before the picture is decoded; the picture itself
// does not depend on it.
namespace pngtext {

// Larger than any caption or metadata packet a program writes.
constexpr qint64 largestTextBytes = 1024 * 1024;

// The bytes of the PNG that the device holds from its current position, without
// the text chunks beyond the largest text: those are skipped, never read. What is
// not a PNG, or is damaged, is read as it is. False when the device cannot be read.
bool readWithoutLargeText(QIODevice *device, QByteArray *bytes);

// The same for bytes already in memory; they are copied only when a chunk goes.
QByteArray withoutLargeText(const QByteArray &bytes);

} // namespace pngtext
