#pragma once

#include <QObject>
#include <QSettings>
#include <QVariant>

class QPrinter;

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

protected:
    // Lets the user choose the printer and the page in the print dialog; false
    // when the print was cancelled. Windows' own dialog serves only its own
    // printers: a test prints to PDF through a helper that sets the printer here.
    virtual bool choosePrinter(QPrinter *printer);

private:
    void rememberFolderOf(const QString &fileName);
    void rememberFormatOf(const QString &fileName);
    QString proposedFileName(const QString &pictureName) const;
    static QString failureReason(const orvalith::WriteResult &result);

    QSettings m_settings;
};
