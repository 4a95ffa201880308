#include "application.h"

#include "appsetup.h"
#include "output/printhelper.h"

#include <QApplication>
#include <QQmlApplicationEngine>
#include <QTranslator>
#include <QUrl>

namespace orvalith {

// Each step reads what the earlier ones set (the settings store is named by the
// identity), and the objects are torn down in the reverse order of creation.
int runApplication(int &argc, char **argv, const QUrl &mainDocument)
{
    // The text cache grows when a frame brings letters it lacks, as the page's first
    // frame does after the window's. By default the grown texture is filled by
    // drawing the old one into it, which under a software renderer (Mesa's llvmpipe)
    // took that frame longer than making the whole page; with this the toolkit keeps
    // a copy of the cache in memory and uploads that.
    // Read when the first text is drawn; a value given from outside is kept.
    if (!qEnvironmentVariableIsSet("QML_USE_GLYPHCACHE_WORKAROUND"))
        qputenv("QML_USE_GLYPHCACHE_WORKAROUND", "1");
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    QApplication application(argc, argv);
    setApplicationIdentity();

    QTranslator translator;
    QTranslator toolkitTranslator;
    if (loadSystemTranslation(translator)) {
        QCoreApplication::installTranslator(&translator);
        if (loadToolkitTranslation(toolkitTranslator, translator.language()))
            QCoreApplication::installTranslator(&toolkitTranslator);
    }

    registerQmlTypes();

    QQmlApplicationEngine engine;
    engine.load(mainDocument);
    if (engine.rootObjects().isEmpty())
        return 1;

    PrintHelper printHelper;
    QObject *window = engine.rootObjects().constFirst();
    QObject::connect(window, SIGNAL(printImageRequested(QVariant, QVariant)), &printHelper,
                     SLOT(printImage(QVariant, QVariant)));
    QObject::connect(window, SIGNAL(saveImageRequested(QVariant, QVariant)), &printHelper,
                     SLOT(saveImage(QVariant, QVariant)));

    return QApplication::exec();
}

} // namespace orvalith
