#pragma once

#include <QObject>
#include <QSettings>
#include <QVariant>

namespace orvalith {
struct WriteResult;
}

// Prints the exported composite on one page, or saves it as a PNG or JPEG file
// in a folder that is remembered between runs. The optional record is a map
// with a "title" that names the print job and a "text" that is stored in the
// saved file.
class PrintHelper : public QObject
{
    Q_OBJECT
public:
    explicit PrintHelper(QObject *parent = nullptr);

public slots:
    void printImage(QVariant image, QVariant record = QVariant());
    void saveImage(QVariant image, QVariant record = QVariant());

public:
    // Tells the user, under the heading, why a file was not written.
    static void showSaveError(const QString &heading, const orvalith::WriteResult &result);
    // Where pictures were last saved, or the documents folder before the first save.
    static QString saveFolder();

private:
    void rememberFolderOf(const QString &fileName);
    void rememberFormatOf(const QString &fileName);
    QString proposedFileName(const QString &pictureName) const;
    static QString failureReason(const orvalith::WriteResult &result);

    QSettings m_settings;
};
