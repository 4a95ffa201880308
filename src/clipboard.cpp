#include "clipboard.h"

Clipboard::Clipboard(QObject *parent) : QObject(parent) {}

QUrl Clipboard::imageUrl() const
{
    return m_imageUrl;
}

void Clipboard::clear()
{
    m_imageUrl = QUrl();
    emit imageUrlChanged(false);
}

void Clipboard::onDataChanged() {}
