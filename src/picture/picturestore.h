#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QMutex>
#include <QQuickImageProvider>
#include <QUrl>

// Pictures held in memory for the page's image, which reads them through the
// "image://orvalith/…" addresses that this store hands out: decoded pictures
// ready to show, and pasted content waiting to be decoded.
class PictureStore
{
public:
    static PictureStore &instance();

    // Copied content, kept as it came (encoded bytes or pixels) until it is
    // taken; a newer one replaces it.
    QUrl depositPasted(const QByteArray &encoded);
    QUrl depositPasted(const QImage &pixels);
    bool takePasted(const QUrl &url, QByteArray *encoded, QImage *pixels);

    // A decoded picture, shown from its address.
    QUrl addDecoded(const QImage &image);
    QImage decoded(const QString &id) const;
    // Forgets every decoded picture but these: the page shows one, and keeps the
    // one before while the user decides about an incomplete picture.
    void keepOnly(const QList<QUrl> &urls);
    void forget(const QUrl &url);

    static bool isStored(const QUrl &url);

private:
    PictureStore() = default;
    QString nextId(const char *kind);

    mutable QMutex m_mutex;
    quint64 m_counter = 0;
    QString m_pastedId;
    QByteArray m_pastedBytes;
    QImage m_pastedPixels;
    QHash<QString, QImage> m_decoded;
};

// Serves the store's decoded pictures, whole or scaled down to a requested size.
class StoredPictureProvider : public QQuickImageProvider
{
public:
    StoredPictureProvider();
    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

    static const QString hostName;
};
