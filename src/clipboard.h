#pragma once

#include <QObject>
#include <QUrl>

// Watches the system clipboard and keeps the URL of the image that a paste
// would load: a local image file or an inline JPEG data URL.
class Clipboard : public QObject
{
    Q_OBJECT
public:
    explicit Clipboard(QObject *parent = nullptr);

    Q_INVOKABLE QUrl imageUrl() const;

public slots:
    void clear();

signals:
    void imageUrlChanged(bool available);

private slots:
    void onDataChanged();

private:
    QUrl m_imageUrl;
};
