#include "clipboard.h"

#include "clipboardimage.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

Clipboard::Clipboard(QObject *parent) : QObject(parent)
{
    // Only changes count: content that was on the clipboard before the
    // program started is not offered for pasting.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &Clipboard::onDataChanged);
}

QUrl Clipboard::imageUrl() const
{
    return m_imageUrl;
}

void Clipboard::clear()
{
    m_imageUrl = QUrl();
    emit imageUrlChanged(false);
}

void Clipboard::onDataChanged()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!data)
        return;
    const QUrl url = clipboardimage::fromMimeData(*data);
    if (url.isValid()) {
        // Signalled again even when unchanged: every new copy re-enables pasting.
        m_imageUrl = url;
        emit imageUrlChanged(true);
    } else if (m_imageUrl.isValid()) {
        m_imageUrl = QUrl();
        emit imageUrlChanged(false);
    }
}
