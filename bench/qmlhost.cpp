#include "app/application.h"

#include <QDir>
#include <QString>
#include <QUrl>

#include <cstdio>

// The program's own start-up around any document given on the command line.
int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvalith_qmlhost DOCUMENT.qml\n");
        return 2;
    }
    const QUrl document = QUrl::fromUserInput(QString::fromLocal8Bit(argv[1]), QDir::currentPath(),
                                              QUrl::AssumeLocalFile);
    return orvalith::runApplication(argc, argv, document);
}
