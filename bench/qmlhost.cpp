#include "appsetup.h"

#include <QApplication>
#include <QDir>
#include <QQmlApplicationEngine>
#include <QTranslator>
#include <QUrl>

#include <cstdio>

// The program's start-up with the document to load taken from the command line.
int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    QApplication application(argc, argv);
    orvalith::setApplicationIdentity();

    QTranslator translator;
    if (orvalith::loadSystemTranslation(translator))
        QCoreApplication::installTranslator(&translator);

    orvalith::registerQmlTypes();

    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: orvalith_qmlhost DOCUMENT.qml\n");
        return 2;
    }
    QQmlApplicationEngine engine;
    engine.load(QUrl::fromUserInput(arguments.at(1), QDir::currentPath(), QUrl::AssumeLocalFile));
    if (engine.rootObjects().isEmpty())
        return 1;
    return QApplication::exec();
}
