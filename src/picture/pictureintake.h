#pragma once

#include "picturedata.h"

#include <QObject>
#include <QQmlParserStatus>
#include <QTimer>
#include <QUrl>
#include <QVariant>

// The one way a picture reaches the page, whichever way the user gave it (open
// dialog, drop, paste, command line): the address is turned into a local
// regular file or pasted content, which is read, checked and decoded off the
// window's thread. The page then shows the decoded picture from its address.
class PictureIntake : public QObject, public QQmlParserStatus
{
    Q_OBJECT
    Q_INTERFACES(QQmlParserStatus)
    Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)
    // Busy for a moment already: a refusal or a small picture comes back sooner.
    Q_PROPERTY(bool slow READ slow NOTIFY slowChanged)
    // How many milliseconds of reading make it slow: long enough that a small
    // picture comes without the overlay flashing over the page.
    Q_PROPERTY(int slowAfter READ slowAfter WRITE setSlowAfter NOTIFY slowAfterChanged)
    // Counts the quarter seconds while slow, from 0: what the page shows meanwhile
    // moves at these steps only. An indicator animated at every frame had the
    // window drawn without pause, and under a software renderer the frames took
    // the processor from the decoding and held the window's thread at each one.
    Q_PROPERTY(int slowSteps READ slowSteps NOTIFY slowStepsChanged)
public:
    explicit PictureIntake(QObject *parent = nullptr);

    bool busy() const { return m_pending != 0; }
    bool slow() const { return m_slow; }
    int slowAfter() const { return m_slowTimer.interval(); }
    int slowSteps() const { return m_slowSteps; }
    void setSlowAfter(int milliseconds);

    // Takes a URL or a text; a newer request makes an older one's result moot.
    Q_INVOKABLE void open(const QVariant &source);
    // Lets the store forget every decoded picture but the ones still wanted.
    Q_INVOKABLE void keepOnly(const QList<QUrl> &urls);

    void classBegin() override;
    void componentComplete() override;

signals:
    void busyChanged();
    void slowChanged();
    void slowAfterChanged();
    void slowStepsChanged();
    // file: the local file the picture was read from; empty for pasted content.
    void pictureReady(const QUrl &url, bool incomplete, const QUrl &file);
    // Too large, or not a JPEG or PNG picture that can be read.
    void pictureRefused(bool tooLarge, int largestSide, int largestMegapixels);

private:
    void finish(quint64 request, picturedata::Verdict verdict, const QUrl &url);

    quint64 m_request = 0;
    quint64 m_pending = 0; // the request still being read, or 0
    QUrl m_requestFile;    // the latest request's file, if it names one
    // A widget timer, not a document's: those run on the animation clock, and the
    // frames it then asks for stall the window behind a slow first frame.
    QTimer m_slowTimer;
    QTimer m_stepTimer;
    bool m_slow = false;
    int m_slowSteps = 0;
};
