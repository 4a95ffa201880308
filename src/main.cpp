#include "app/application.h"

#include <QUrl>

int main(int argc, char *argv[])
{
    return orvalith::runApplication(argc, argv,
                                    QUrl(QStringLiteral("qrc:/main.qml"), QUrl::TolerantMode));
}
