#include "recordexport.h"

#include "imagefilewriter.h"
#include "printhelper.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>

RecordExport::RecordExport(QObject *parent) : QObject(parent) {}

void RecordExport::copyText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

bool RecordExport::saveTextAs(const QString &text, const QString &suggestedName)
{
    // The list lands beside the picture it belongs to.
    const QDir folder(PrintHelper::saveFolder());
    QString fileName = QFileDialog::getSaveFileName(
        nullptr, tr("Save measurements"), folder.filePath(suggestedName), tr("CSV files (*.csv)"));
    if (fileName.isEmpty())
        return false;
    // A name typed without a suffix would give a file no spreadsheet offers to open.
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".csv");

    const orvalith::WriteResult result = orvalith::writeBytesFile(text.toUtf8(), fileName);
    if (!result.succeeded())
        PrintHelper::showSaveError(tr("The measurements could not be saved."), result);
    return result.succeeded();
}
