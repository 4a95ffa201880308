#include "recordexport.h"

#include "imagefilewriter.h"
#include "printhelper.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>

RecordExport::RecordExport(QObject *parent) : QObject(parent) {}

void RecordExport::copyText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

namespace {

bool confirmReplace(const QString &fileName)
{
    const QString question = RecordExport::tr("%1 already exists.\nDo you want to replace it?")
                                 .arg(QFileInfo(fileName).fileName());
    return QMessageBox::question(nullptr, RecordExport::tr("Save measurements"), question,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

} // namespace

bool RecordExport::saveTextAs(const QString &text, const QString &suggestedName)
{
    // The list lands beside the picture it belongs to.
    const QDir folder(PrintHelper::saveFolder());
    QFileDialog dialog(nullptr, tr("Save measurements"), folder.path(), tr("CSV files (*.csv)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without a suffix would give a file no spreadsheet offers to
    // open. The dialog adds it itself, before it asks whether to replace a file.
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.selectFile(folder.filePath(suggestedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    QString fileName = dialog.selectedFiles().constFirst();
    // The dialog leaves out the suffix where a "." stands anywhere in a path typed
    // into it ("visit.3/eye"); then it has not asked about the file that gets it.
    if (QFileInfo(fileName).suffix().isEmpty()) {
        fileName += QStringLiteral(".csv");
        if (QFileInfo::exists(fileName) && !confirmReplace(fileName))
            return false;
    }

    const orvalith::WriteResult result = orvalith::writeBytesFile(text.toUtf8(), fileName);
    if (!result.succeeded())
        PrintHelper::showSaveError(tr("The measurements could not be saved."), result);
    return result.succeeded();
}
