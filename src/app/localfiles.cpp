#include "localfiles.h"

#include <QFileInfo>

LocalFiles::LocalFiles(QObject *parent) : QObject(parent) {}

QUrl LocalFiles::existingFileUrl(const QString &path) const
{
    if (path.isEmpty())
        return {};
    const QFileInfo file(path);
    if (!file.isFile())
        return {};
    return QUrl::fromLocalFile(file.absoluteFilePath());
}
