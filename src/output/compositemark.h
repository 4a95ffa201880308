#pragma once

#include <QObject>
#include <QUrl>

// Tells the page whether a picture being opened is a composite this program
// saved: its overlay is burned into its pixels, and measuring over it again
// would measure the old overlay's lines.
class CompositeMark : public QObject
{
    Q_OBJECT
public:
    explicit CompositeMark(QObject *parent = nullptr);

    // False for anything but a local file that carries the mark.
    Q_INVOKABLE bool carriesOverlay(const QUrl &file) const;
};
