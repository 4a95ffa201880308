#include "appsetup.h"

#include "clipboard.h"
#include "recordexport.h"

#include <QCoreApplication>
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

void registerQmlTypes()
{
    qmlRegisterType<Clipboard>("Orvalith", 1, 0, "Clipboard");
    qmlRegisterType<RecordExport>("Orvalith", 1, 0, "RecordExport");
}

} // namespace orvalith
