#include "recordmetadata.h"

#include <QFile>
#include <QtEndian>

namespace orvalith {

namespace {

// The mark as it stands in the packet; it is looked for byte for byte.
const QByteArray compositeMark = QByteArrayLiteral("orvalith:Composite=\"True\"");
const QByteArray pngSignature = QByteArrayLiteral("\x89PNG\r\n\x1a\n");
const QByteArray xmpKeyword = QByteArrayLiteral("XML:com.adobe.xmp");
const QByteArray jpegXmpHeader = QByteArrayLiteral("http://ns.adobe.com/xap/1.0/");
// The packet is written within the first few hundred bytes; a long record
// takes a few kilobytes more.
constexpr qint64 markSearchLength = 64 * 1024;

struct Field
{
    const char *key;     // in the window's record
    const char *keyword; // of the PNG text
    const char *xmpName; // of the XMP property
};

const Field fields[] = {
    {"picture", "Picture", "orvalith:Picture"},
    {"reference", "Reference", "orvalith:Reference"},
    {"eye", "Eye", "orvalith:Eye"},
    {"savedAt", "Creation Time", "xmp:CreateDate"},
    {"calibrationReference", "Calibration reference", "orvalith:CalibrationReference"},
    {"calibrationUnit", "Calibration unit", "orvalith:CalibrationUnit"},
    {"pixelsPerUnit", "Pixels per unit", "orvalith:PixelsPerUnit"},
    {"program", "Software", "xmp:CreatorTool"},
};

// Line breaks kept as character references, so that an attribute keeps them.
QString xmlAttribute(const QString &value)
{
    return value.toHtmlEscaped()
        .replace(QLatin1Char('\n'), QLatin1String("&#10;"))
        .replace(QLatin1Char('\t'), QLatin1String("&#9;"))
        .replace(QLatin1Char('\r'), QLatin1String("&#13;"));
}

QByteArray xmpPacket(const QVariantMap &values, const QString &description)
{
    QString properties;
    for (const Field &field : fields) {
        const QString value = values.value(QLatin1String(field.key)).toString();
        if (!value.isEmpty())
            properties += QStringLiteral("\n   %1=\"%2\"")
                              .arg(QLatin1String(field.xmpName), xmlAttribute(value));
    }
    const QString packet =
        QStringLiteral("<?xpacket begin=\"\uFEFF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
                       "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
                       " <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
                       "  <rdf:Description rdf:about=\"\"\n"
                       "   xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\n"
                       "   xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\"\n"
                       "   xmlns:orvalith=\"https://orvalith.app/ns/record/1.0/\"%1\n"
                       "   %2>\n"
                       "   <dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">%3</rdf:li>"
                       "</rdf:Alt></dc:description>\n"
                       "  </rdf:Description>\n"
                       " </rdf:RDF>\n"
                       "</x:xmpmeta>\n"
                       "<?xpacket end=\"w\"?>")
            .arg(properties, QString::fromLatin1(compositeMark), description.toHtmlEscaped());
    return packet.toUtf8();
}

QByteArray bigEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

} // namespace

quint32 pngChunkCrc(const QByteArray &typeAndData)
{
    quint32 crc = 0xffffffffu;
    for (const char byte : typeAndData) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xffffffffu;
}

ImageMetadata compositeMetadata(const QVariantMap &record)
{
    ImageMetadata metadata;
    metadata.description = record.value(QStringLiteral("text")).toString();
    const QVariantMap values = record.value(QStringLiteral("fields")).toMap();
    for (const Field &field : fields) {
        const QString value = values.value(QLatin1String(field.key)).toString();
        if (!value.isEmpty())
            metadata.texts.append({QLatin1String(field.keyword), value});
    }
    metadata.xmp = xmpPacket(values, metadata.description);
    return metadata;
}

// Keyword, no compression, no language, no translated keyword, then the text.
QByteArray pngTextChunk(const QByteArray &keyword, const QByteArray &text)
{
    const QByteArray body =
        QByteArrayLiteral("iTXt") + keyword + QByteArray("\0\0\0\0\0", 5) + text;
    return bigEndian32(quint32(body.size() - 4)) + body + bigEndian32(pngChunkCrc(body));
}

// After the signature and the header chunk (8 + 25 bytes), where readers that
// stop early still find them.
QByteArray withPngRecord(const QByteArray &png, const ImageMetadata &metadata)
{
    constexpr int headerEnd = 8 + 4 + 4 + 13 + 4;
    if (!png.startsWith(pngSignature) || png.mid(12, 4) != "IHDR")
        return png;
    QByteArray chunks;
    if (!metadata.xmp.isEmpty())
        chunks += pngTextChunk(xmpKeyword, metadata.xmp);
    for (const auto &text : metadata.texts)
        chunks += pngTextChunk(text.first.toLatin1(), text.second.toUtf8());
    return png.left(headerEnd) + chunks + png.mid(headerEnd);
}

// An APP1 segment holds at most 65533 bytes after its length.
QByteArray withJpegXmp(const QByteArray &jpeg, const QByteArray &xmp)
{
    const QByteArray payload = jpegXmpHeader + '\0' + xmp;
    if (xmp.isEmpty() || payload.size() > 65533 || !jpeg.startsWith("\xff\xd8"))
        return jpeg;
    int at = 2;
    if (jpeg.mid(2, 2) == "\xff\xe0" && jpeg.size() >= 6)
        at = 4 + qFromBigEndian<quint16>(jpeg.constData() + 4);
    if (at > jpeg.size())
        return jpeg;
    QByteArray length(2, '\0');
    qToBigEndian(quint16(payload.size() + 2), length.data());
    return jpeg.left(at) + QByteArrayLiteral("\xff\xe1") + length + payload + jpeg.mid(at);
}

bool carriesCompositeMark(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(markSearchLength).contains(compositeMark);
}

} // namespace orvalith
