#include "appsetup.h"
#include "printhelper.h"

#include <QApplication>
#include <QQmlApplicationEngine>
#include <QTranslator>
#include <QUrl>

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    QApplication application(argc, argv);
    orvalith::setApplicationIdentity();

    QTranslator translator;
    if (orvalith::loadSystemTranslation(translator))
        QCoreApplication::installTranslator(&translator);

    orvalith::registerQmlTypes();

    QQmlApplicationEngine engine;
    engine.load(QUrl(QStringLiteral("qrc:/main.qml"), QUrl::TolerantMode));
    if (engine.rootObjects().isEmpty())
        return 1;

    PrintHelper printHelper;
    QObject *window = engine.rootObjects().constFirst();
    QObject::connect(window, SIGNAL(printImageRequested(QVariant)), &printHelper,
                     SLOT(printImage(QVariant)));
    QObject::connect(window, SIGNAL(saveImageRequested(QVariant)), &printHelper,
                     SLOT(saveImage(QVariant)));

    return QApplication::exec();
}
