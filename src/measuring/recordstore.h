#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <QUrl>

class MeasurementDocument;

// Keeps each picture's measurement document in the user's application data folder,
// under a hash of the picture's content: a renamed or copied photo finds its record,
// another photo of the same name does not. A change is written within a second, by
// a thread of its own and atomically (a crash leaves the old record or the new one,
// never a mixture), so that nothing needs asking on close.
class RecordStore : public QObject
{
    Q_OBJECT
    Q_PROPERTY(MeasurementDocument *document READ document WRITE setDocument NOTIFY documentChanged)
    // Where the records go; the application data folder unless set (by tests).
    Q_PROPERTY(QString folder READ folder WRITE setFolder NOTIFY folderChanged)
    // The hash of the picture whose record is kept; empty while none is.
    Q_PROPERTY(QString pictureKey READ pictureKey NOTIFY pictureKeyChanged)
    // Milliseconds from a change to its write.
    Q_PROPERTY(int writeDelay READ writeDelay WRITE setWriteDelay NOTIFY writeDelayChanged)
public:
    explicit RecordStore(QObject *parent = nullptr);
    ~RecordStore() override;

    MeasurementDocument *document() const { return m_document; }
    void setDocument(MeasurementDocument *document);
    QString folder() const;
    void setFolder(const QString &folder);
    QString pictureKey() const { return m_key; }
    int writeDelay() const { return m_writeTimer.interval(); }
    void setWriteDelay(int milliseconds);

    // Writes what is pending for the picture shown so far, then reads the new
    // picture's content (off the window's thread) and restores its record into the
    // document, which is reset first. A picture without a local file has no record.
    Q_INVOKABLE void open(const QUrl &file);
    // Writes a pending change now and waits for it.
    Q_INVOKABLE void flush();

    static QString keyOf(const QByteArray &content);
    QString recordPath(const QString &key) const;
    // The record's bytes: what writeRecord puts in a file.
    static QByteArray recordBytes(const QString &key, const QVariantMap &document);
    // The document in a record's bytes; false when they are damaged or belong to
    // another picture (or another program).
    static bool parseRecord(const QByteArray &bytes, const QString &key, QVariantMap *document);
    static bool writeRecord(const QString &path, const QByteArray &bytes);

signals:
    void documentChanged();
    void folderChanged();
    void pictureKeyChanged();
    void writeDelayChanged();
    // What the page shows on its status line.
    void restored(const QString &message);
    void setAside(const QString &message);
    // A record could not be written (the folder may be read-only or full).
    void writeFailed(const QString &message);

private:
    void documentChanged_();
    void writePending();
    void keyFound(quint64 request, const QString &key);
    void restore();

    QPointer<MeasurementDocument> m_document;
    QString m_folder;
    QString m_key;
    quint64 m_request = 0;
    bool m_restoring = false;
    QTimer m_writeTimer;
    // One thread, so that the writes land in the order they were made.
    QThreadPool m_writer;
    QThreadPool m_reader;
};
