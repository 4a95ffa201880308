#include "clipboard.h"

#include "clipboardimage.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>

Clipboard::Clipboard(QObject *parent) : QObject(parent)
{
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &Clipboard::onDataChanged);
    // What was copied before the start counts as well; reported once the
    // document that made this object has connected to it.
    QTimer::singleShot(0, this, [this] { decide(true); });
}

QUrl Clipboard::imageUrl() const
{
    if (!m_offersPixels)
        return m_imageUrl;
    const QMimeData *data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    return data ? clipboardimage::takePixels(*data) : QUrl();
}

void Clipboard::clear()
{
    m_imageUrl = QUrl();
    m_offersPixels = false;
    emit imageUrlChanged(false);
}

void Clipboard::onDataChanged()
{
    decide(false);
}

// A new copy is reported even when it offers the same image again; content
// that offers none is reported once.
void Clipboard::decide(bool alwaysReport)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *data = clipboard->mimeData(QClipboard::Clipboard);
    const bool wasAvailable = m_imageUrl.isValid() || m_offersPixels;
    m_imageUrl = data ? clipboardimage::namedImage(*data) : QUrl();
    m_offersPixels = !m_imageUrl.isValid() && data &&
                     clipboardimage::offersPixels(*data, clipboard->ownsClipboard());
    const bool available = m_imageUrl.isValid() || m_offersPixels;
    if (available || wasAvailable || alwaysReport)
        emit imageUrlChanged(available);
}
