#include "windowframe.h"

#include <QEvent>

WindowFrame::WindowFrame(QObject *parent) : QObject(parent) {}

QObject *WindowFrame::window() const
{
    return m_window;
}

void WindowFrame::setWindow(QObject *window)
{
    auto *w = qobject_cast<QWindow *>(window);
    if (w == m_window)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = w;
    if (m_window)
        m_window->installEventFilter(this);
    emit windowChanged();
    update();
}

int WindowFrame::width() const
{
    return m_margins.left() + m_margins.right();
}

int WindowFrame::height() const
{
    return m_margins.top() + m_margins.bottom();
}

int WindowFrame::left() const
{
    return m_margins.left();
}

int WindowFrame::top() const
{
    return m_margins.top();
}

// The window manager adds its frame after the window is mapped, and moves the
// window into it: the margins are read again whenever the window moves or shows.
bool WindowFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Expose:
        case QEvent::Show:
            update();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void WindowFrame::update()
{
    const QMargins margins = m_window ? m_window->frameMargins() : QMargins();
    if (margins == m_margins)
        return;
    m_margins = margins;
    emit marginsChanged();
}
