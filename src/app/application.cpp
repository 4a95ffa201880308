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
    setRenderingOptions();
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
