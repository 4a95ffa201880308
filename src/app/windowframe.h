#pragma once

#include <QObject>
#include <QPointer>
#include <QWindow>

// The frame that the window manager draws around a window (title bar and
// borders), which the window's own size does not include. Zero where there is
// no window manager, and until the window is first shown with its frame.
class WindowFrame : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QObject *window READ window WRITE setWindow NOTIFY windowChanged)
    Q_PROPERTY(int width READ width NOTIFY marginsChanged)
    Q_PROPERTY(int height READ height NOTIFY marginsChanged)
    Q_PROPERTY(int left READ left NOTIFY marginsChanged)
    Q_PROPERTY(int top READ top NOTIFY marginsChanged)
public:
    explicit WindowFrame(QObject *parent = nullptr);

    QObject *window() const;
    void setWindow(QObject *window);
    // The left and right borders together; the title bar and bottom border together.
    int width() const;
    int height() const;
    // The left border alone; the title bar and the top border together.
    int left() const;
    int top() const;

signals:
    void windowChanged();
    void marginsChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void update();

    QPointer<QWindow> m_window;
    QMargins m_margins;
};
