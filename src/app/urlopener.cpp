#include "urlopener.h"

#include <QDesktopServices>
#include <QProcess>

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
#include <unistd.h>

namespace {

// A child in a session of its own has no controlling terminal, and its standard
// streams are the null device: a text browser that xdg-open may fall back to
// cannot take over the terminal, fails, and xdg-open then reports the failure.
class DetachedFromTerminal : public QProcess
{
public:
    using QProcess::QProcess;

protected:
    void setupChildProcess() override { ::setsid(); }
};

} // namespace

UrlOpener::UrlOpener(QObject *parent) : QObject(parent) {}

// xdg-open may run as long as the browser it starts, so its end is awaited
// without blocking; the process object goes with it.
void UrlOpener::open(const QUrl &url)
{
    auto *opener = new DetachedFromTerminal(this);
    opener->setStandardInputFile(QProcess::nullDevice());
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    connect(opener, &QProcess::errorOccurred, this, [this, opener, url](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) {
            emit failed(url);
            opener->deleteLater();
        }
    });
    connect(opener, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), this,
            [this, opener, url](int exitCode, QProcess::ExitStatus status) {
                if (status != QProcess::NormalExit || exitCode != 0)
                    emit failed(url);
                opener->deleteLater();
            });
    opener->start(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)});
}

#else

UrlOpener::UrlOpener(QObject *parent) : QObject(parent) {}

// Windows and macOS answer at once whether the address was handed to a browser.
void UrlOpener::open(const QUrl &url)
{
    if (!QDesktopServices::openUrl(url))
        emit failed(url);
}

#endif
