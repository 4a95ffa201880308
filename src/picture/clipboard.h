#pragma once

#include <QObject>
#include <QUrl>

// Watches the system clipboard and tells whether it offers an image to paste:
// a local image file, an inline JPEG URL or copied pixels.
class Clipboard : public QObject
{
    Q_OBJECT
public:
    explicit Clipboard(QObject *parent = nullptr);

    // The image a paste loads now. Copied pixels are taken from the clipboard
    // only here, when they are pasted, and kept exactly as copied.
    Q_INVOKABLE QUrl imageUrl() const;

public slots:
    void clear();

signals:
    void imageUrlChanged(bool available);

private slots:
    void onDataChanged();

private:
    void decide(bool alwaysReport);

    QUrl m_imageUrl;
    bool m_offersPixels = false;
};
