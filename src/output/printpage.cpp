#include "printpage.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QVariantList>

#include <algorithm>

namespace orvalith {

namespace {

constexpr qreal recordPointSize = 10;
constexpr qreal largestRecordShare = 0.5; // of the page's height
constexpr qreal lineSpacing = 1.25;       // line height per font height
constexpr qreal columnGapEms = 1.5;

QStringList textList(const QVariant &value)
{
    QStringList texts;
    for (const QVariant &item : value.toList())
        texts.append(item.toString());
    return texts;
}

// The record as lines of up to three cells; an empty line between the
// heading and the rows.
QVector<QStringList> recordLines(const PrintedRecord &record)
{
    QVector<QStringList> lines;
    for (const auto &field : record.header)
        lines.append({field.first, field.second, QString()});
    if (!lines.isEmpty())
        lines.append({QString(), QString(), QString()});
    for (const QStringList &row : record.rows)
        lines.append(row);
    return lines;
}

// The width each of the three columns takes at the given font.
QVector<qreal> columnWidths(const QVector<QStringList> &lines, const QFontMetricsF &metrics)
{
    QVector<qreal> widths(3, 0);
    for (const QStringList &line : lines)
        for (int column = 0; column < 3 && column < line.size(); ++column)
            widths[column] = std::max(widths[column], metrics.horizontalAdvance(line.at(column)));
    return widths;
}

// The heading's values run into the value and unit columns: they are texts,
// not numbers to line up.
void paintLines(QPainter &painter, const QVector<QStringList> &lines, const QPointF &topLeft,
                int headerLines)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QVector<qreal> widths = columnWidths(lines.mid(headerLines), metrics);
    const qreal gap = columnGapEms * metrics.height();
    const qreal lineHeight = lineSpacing * metrics.height();
    const qreal labelWidth = columnWidths(lines, metrics).at(0);
    qreal y = topLeft.y();
    for (int i = 0; i < lines.size(); ++i, y += lineHeight) {
        const QStringList &line = lines.at(i);
        const qreal valueX = topLeft.x() + labelWidth + gap;
        const qreal baseline = y + metrics.ascent();
        painter.drawText(QPointF(topLeft.x(), baseline), line.value(0));
        if (i < headerLines) {
            painter.drawText(QPointF(valueX, baseline), line.value(1));
            continue;
        }
        const qreal valueRight = valueX + widths.at(1);
        painter.drawText(QPointF(valueRight - metrics.horizontalAdvance(line.value(1)), baseline),
                         line.value(1));
        // Degrees follow their number, as the panel writes them; other units keep a space.
        const bool degrees = line.value(2) == QStringLiteral("\u00b0");
        painter.drawText(QPointF(valueRight + (degrees ? 0 : metrics.height() / 3), baseline),
                         line.value(2));
    }
}

} // namespace

PrintedRecord printedRecord(const QVariantMap &record)
{
    PrintedRecord printed;
    for (const QVariant &field : record.value(QStringLiteral("header")).toList()) {
        const QStringList pair = textList(field);
        if (pair.size() == 2)
            printed.header.append({pair.at(0), pair.at(1)});
    }
    for (const QVariant &row : record.value(QStringLiteral("rows")).toList()) {
        const QStringList cells = textList(row);
        if (cells.size() == 3)
            printed.rows.append(cells);
    }
    return printed;
}

void paintRecordPage(QPainter &painter, const QRectF &page, const QImage &picture,
                     const QSizeF &largestSize, const PrintedRecord &record)
{
    const QVector<QStringList> lines = recordLines(record);
    QFont font = painter.font();
    font.setPointSizeF(recordPointSize);
    const qreal naturalHeight =
        lines.size() * lineSpacing * QFontMetricsF(font, painter.device()).height();
    const qreal shrink = std::min(1.0, largestRecordShare * page.height() / naturalHeight);
    font.setPointSizeF(recordPointSize * shrink);
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    const qreal textHeight = lines.size() * lineSpacing * metrics.height();
    const qreal gap = metrics.height();

    // Never larger than the rule for a picture alone allows, nor the room left.
    const QSizeF room(page.width(), std::max(1.0, page.height() - textHeight - gap));
    const qreal scale =
        std::min({1.0, room.width() / largestSize.width(), room.height() / largestSize.height()});
    const QSizeF size = largestSize * scale;
    const QRectF target(page.left() + (page.width() - size.width()) / 2, page.top(), size.width(),
                        size.height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture);

    painter.setPen(Qt::black);
    const qreal left =
        std::max(page.left(), std::min(target.left(), page.right() - page.width() / 2));
    paintLines(painter, lines, QPointF(left, target.bottom() + gap), record.header.size());
}

} // namespace orvalith
