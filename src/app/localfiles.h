#pragma once

#include <QObject>
#include <QUrl>

// What the documents cannot find out on their own about the local file system.
class LocalFiles : public QObject
{
    Q_OBJECT
public:
    explicit LocalFiles(QObject *parent = nullptr);

    // The file URL of path, read relative to the working folder, when it names
    // an existing file; an empty URL otherwise.
    Q_INVOKABLE QUrl existingFileUrl(const QString &path) const;
};
