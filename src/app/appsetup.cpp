#include "appsetup.h"

#include "localfiles.h"
#include "measuring/geometry.h"
#include "measuring/measurementdocument.h"
#include "measuring/recordstore.h"
#include "output/compositemark.h"
#include "output/recordexport.h"
#include "picture/clipboard.h"
#include "picture/pictureintake.h"
#include "picture/pictureregion.h"
#include "picture/pictureview.h"
#include "picture/zoomedpicture.h"
#include "storedsettings.h"
#include "urlopener.h"
#include "windowframe.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>
#include <QtQml>

namespace orvalith {

void setRenderingOptions()
{
    // The text cache grows when a frame brings letters it lacks, as the page's first
    // frame does after the window's, and a status message may later. By default the
    // grown texture is filled by drawing the old one into it, which under a software
    // renderer (Mesa's llvmpipe) took that frame longer than making the whole page;
    // with this the toolkit keeps a copy of the cache in memory and uploads that. A
    // value given from outside is kept.
    if (!qEnvironmentVariableIsSet("QML_USE_GLYPHCACHE_WORKAROUND"))
        qputenv("QML_USE_GLYPHCACHE_WORKAROUND", "1");
    // The window follows the screen's scale.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
}

void setApplicationIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Orvalith"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("app.orvalith"));
    QCoreApplication::setApplicationName(QStringLiteral("Orvalith"));
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3").arg(3).arg(3).arg(1));
    // Lets a Wayland desktop match the windows to the installed desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("app.orvalith.Orvalith"));
}

bool loadSystemTranslation(QTranslator &translator)
{
    return translator.load(QStringLiteral(":/translations/") + QLocale::system().name());
}

// Deployed beside the program on Windows; on Linux where Qt itself is installed.
bool loadToolkitTranslation(QTranslator &translator, const QString &language)
{
    const QString name = QStringLiteral("qt_") + language;
    const QString deployed =
        QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
    const QString installed = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
    return translator.load(name, deployed) || translator.load(name, installed);
}

void registerQmlTypes()
{
    qmlRegisterType<Clipboard>("Orvalith", 1, 0, "Clipboard");
    qmlRegisterType<LocalFiles>("Orvalith", 1, 0, "LocalFiles");
    qmlRegisterType<UrlOpener>("Orvalith", 1, 0, "UrlOpener");
    qmlRegisterType<WindowFrame>("Orvalith", 1, 0, "WindowFrame");
    qmlRegisterType<PictureIntake>("Orvalith", 1, 0, "PictureIntake");
    qmlRegisterType<PictureRegion>("Orvalith", 1, 0, "PictureRegion");
    qmlRegisterType<PictureView>("Orvalith", 1, 0, "PictureView");
    qmlRegisterType<ZoomedPicture>("Orvalith", 1, 0, "ZoomedPicture");
    qmlRegisterType<RecordExport>("Orvalith", 1, 0, "RecordExport");
    qmlRegisterType<StoredSettings>("Orvalith", 1, 0, "StoredSettings");
    qmlRegisterType<CompositeMark>("Orvalith", 1, 0, "CompositeMark");
    qmlRegisterType<MeasurementDocument>("Orvalith", 1, 0, "MeasurementDocument");
    qmlRegisterType<RecordStore>("Orvalith", 1, 0, "RecordStore");
    qmlRegisterSingletonType<Geometry>(
        "Orvalith", 1, 0, "Geometry",
        [](QQmlEngine *, QJSEngine *) -> QObject * { return new Geometry; });
    qmlRegisterUncreatableType<MeasureModel>("Orvalith", 1, 0, "MeasureModel",
                                             QStringLiteral("Made by its document"));
}

} // namespace orvalith
