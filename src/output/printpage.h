#pragma once

#include <QPair>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <QVector>

class QImage;
class QPainter;

namespace orvalith {

// What a printed page lists under the picture: the record's heading fields
// (label and value) and the measures list's rows (what, value, unit), all in
// the user's language.
struct PrintedRecord
{
    QVector<QPair<QString, QString>> header;
    QVector<QStringList> rows;

    bool isEmpty() const { return rows.isEmpty(); }
};

// From the window's record: "header" a list of [label, value] pairs and
// "rows" a list of [what, value, unit] rows.
PrintedRecord printedRecord(const QVariantMap &record);

// Draws the picture at the top of the page, centred across it and at most at
// largestSize, and the record beneath it; the record's type is shrunk where
// it would take more than half of the page, so that everything stays on one
// page. page: the painter's area, in its coordinates.
void paintRecordPage(QPainter &painter, const QRectF &page, const QImage &picture,
                     const QSizeF &largestSize, const PrintedRecord &record);

} // namespace orvalith
