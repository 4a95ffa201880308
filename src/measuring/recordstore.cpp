#include "recordstore.h"

#include "measurementdocument.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaObject>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

const QString formatName = QStringLiteral("Orvalith measurements");
const int formatVersion = 1;

// The content is read in pieces: a photo may be large, and only the hash is wanted.
QString hashFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return QString();
    return QString::fromLatin1(hash.result().toHex());
}

} // namespace

RecordStore::RecordStore(QObject *parent) : QObject(parent)
{
    m_writeTimer.setSingleShot(true);
    m_writeTimer.setInterval(500);
    connect(&m_writeTimer, &QTimer::timeout, this, &RecordStore::writePending);
    m_writer.setMaxThreadCount(1);
    m_reader.setMaxThreadCount(1);
}

RecordStore::~RecordStore()
{
    flush();
    m_reader.waitForDone();
}

void RecordStore::setDocument(MeasurementDocument *document)
{
    if (document == m_document)
        return;
    flush();
    if (m_document)
        disconnect(m_document, nullptr, this, nullptr);
    m_document = document;
    if (m_document)
        connect(m_document, &MeasurementDocument::changed, this, &RecordStore::documentChanged_);
    emit documentChanged();
}

QString RecordStore::folder() const
{
    if (!m_folder.isEmpty())
        return m_folder;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/records");
}

void RecordStore::setFolder(const QString &folder)
{
    if (folder == m_folder)
        return;
    flush();
    m_folder = folder;
    emit folderChanged();
}

void RecordStore::setWriteDelay(int milliseconds)
{
    if (milliseconds == m_writeTimer.interval())
        return;
    m_writeTimer.setInterval(milliseconds);
    emit writeDelayChanged();
}

QString RecordStore::keyOf(const QByteArray &content)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex());
}

QString RecordStore::recordPath(const QString &key) const
{
    return folder() + QLatin1Char('/') + key + QStringLiteral(".json");
}

// Not restarted by every change: under a long drag the record would never be written.
void RecordStore::documentChanged_()
{
    if (!m_restoring && !m_key.isEmpty() && !m_writeTimer.isActive())
        m_writeTimer.start();
}

void RecordStore::writePending()
{
    if (m_key.isEmpty() || !m_document)
        return;
    const QString path = recordPath(m_key);
    if (m_document->empty() && !QFileInfo::exists(path))
        return;
    const QByteArray bytes = recordBytes(m_key, m_document->toVariant());
    m_writer.start([this, path, bytes] {
        if (!writeRecord(path, bytes))
            QMetaObject::invokeMethod(this, [this, path] {
                emit writeFailed(tr("The measures could not be kept in %1.")
                                     .arg(QDir::toNativeSeparators(path)));
            });
    });
}

void RecordStore::flush()
{
    if (m_writeTimer.isActive()) {
        m_writeTimer.stop();
        writePending();
    }
    m_writer.waitForDone();
}

void RecordStore::open(const QUrl &file)
{
    flush();
    const quint64 request = ++m_request;
    // The key goes first: the reset is no change of the previous picture's record.
    if (!m_key.isEmpty()) {
        m_key.clear();
        emit pictureKeyChanged();
    }
    if (m_document)
        m_document->reset();
    if (!file.isLocalFile())
        return;
    const QString path = file.toLocalFile();
    m_reader.start([this, request, path] {
        const QString key = hashFile(path);
        QMetaObject::invokeMethod(this, [this, request, key] { keyFound(request, key); });
    });
}

// A later picture may have been opened while this one was read: its answer counts.
void RecordStore::keyFound(quint64 request, const QString &key)
{
    if (request != m_request || key.isEmpty())
        return;
    m_key = key;
    emit pictureKeyChanged();
    restore();
}

// A file that cannot be read as this picture's record is renamed, never deleted:
// it may be the only copy of someone's work, readable by a later version.
void RecordStore::restore()
{
    const QString path = recordPath(m_key);
    QFile file(path);
    if (!m_document || !file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    file.close();
    QVariantMap values;
    if (!parseRecord(bytes, m_key, &values)) {
        const QString aside =
            path + QStringLiteral(".unreadable-") +
            QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddThhmmsszzz"));
        QFile::rename(path, aside);
        emit setAside(tr("The record of this picture could not be read; it was set aside as %1.")
                          .arg(QDir::toNativeSeparators(aside)));
        return;
    }
    m_restoring = true;
    m_document->fromVariant(values);
    m_restoring = false;
    if (!m_document->empty())
        emit restored(tr("The measures of this picture were restored."));
}

QByteArray RecordStore::recordBytes(const QString &key, const QVariantMap &document)
{
    QJsonObject record = QJsonObject::fromVariantMap(document);
    record.insert(QStringLiteral("format"), formatName);
    record.insert(QStringLiteral("version"), formatVersion);
    record.insert(QStringLiteral("picture"), key);
    return QJsonDocument(record).toJson(QJsonDocument::Indented);
}

bool RecordStore::parseRecord(const QByteArray &bytes, const QString &key, QVariantMap *document)
{
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !json.isObject())
        return false;
    QJsonObject record = json.object();
    if (record.value(QStringLiteral("format")).toString() != formatName ||
        record.value(QStringLiteral("version")).toInt() != formatVersion ||
        record.value(QStringLiteral("picture")).toString() != key)
        return false;
    record.remove(QStringLiteral("format"));
    record.remove(QStringLiteral("version"));
    record.remove(QStringLiteral("picture"));
    *document = record.toVariantMap();
    return true;
}

// QSaveFile writes beside the record and renames over it once everything is on
// disk: the record is never seen half written.
bool RecordStore::writeRecord(const QString &path, const QByteArray &bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes);
    return file.commit();
}
