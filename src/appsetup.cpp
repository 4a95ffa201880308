#include "appsetup.h"

#include "clipboard.h"
#include "urlopener.h"
#include "windowframe.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>
#include <QtQml>

namespace orvalith {

void setApplicationIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Orvalith"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("app.orvalith"));
    QCoreApplication::setApplicationName(QStringLiteral("Orvalith"));
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3").arg(3).arg(3).arg(1));
}

bool loadSystemTranslation(QTranslator &translator)
{
    return translator.load(QStringLiteral(":/translations/") + QLocale::system().name());
}

// A deployed Windows folder carries the catalogue beside the program; an
// installed Qt (Debian's qttranslations5-l10n) keeps it in its own folder.
bool loadQtTranslation(QTranslator &translator)
{
    const QString folders[] = {QCoreApplication::applicationDirPath() +
                                   QStringLiteral("/translations"),
                               QLibraryInfo::location(QLibraryInfo::TranslationsPath)};
    for (const QString &folder : folders) {
        if (translator.load(QLocale::system(), QStringLiteral("qt"), QStringLiteral("_"), folder))
            return true;
    }
    return false;
}

void registerQmlTypes()
{
    qmlRegisterType<Clipboard>("Orvalith", 1, 0, "Clipboard");
    qmlRegisterType<UrlOpener>("Orvalith", 1, 0, "UrlOpener");
    qmlRegisterType<WindowFrame>("Orvalith", 1, 0, "WindowFrame");
}

} // namespace orvalith
