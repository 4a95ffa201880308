#pragma once

#include <QObject>
#include <QUrl>

// Opens an address in the user's web browser and says when that could not be
// done, so that the window can show the address instead. On Linux the opener
// (xdg-open) runs cut off from the terminal the program was started in: on a
// machine with no graphical browser it would otherwise hand that terminal to a
// text browser, and the program would seem to hang.
class UrlOpener : public QObject
{
    Q_OBJECT
public:
    explicit UrlOpener(QObject *parent = nullptr);

    Q_INVOKABLE void open(const QUrl &url);

signals:
    // The system has no way to show the address, or its opener reported failure.
    void failed(const QUrl &url);
};
