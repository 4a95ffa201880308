#include "printhelper.h"

#include "imagefilewriter.h"
#include "picture/pagefit.h"
#include "printpage.h"
#include "recordmetadata.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QJSValue>
#include <QMessageBox>
#include <QPageLayout>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QStandardPaths>
#include <QTextDocument>
#include <QWindow>

namespace {

const QString saveImageFolderKey = QStringLiteral("printHelper/saveImageFolder");
const QString saveImageFormatKey = QStringLiteral("printHelper/saveImageFormat");
const QStringList savedFormats{QStringLiteral("png"), QStringLiteral("jpg")};

// The window hands over the composite as a QImage; anything else is not
// something we can print or save.
bool holdsImage(const QVariant &image)
{
    return image.userType() == QMetaType::QImage;
}

// From a document the record arrives as a script object, from native code as
// a map; anything else counts as an empty record.
QVariantMap recordMap(const QVariant &record)
{
    if (record.userType() == qMetaTypeId<QJSValue>())
        return record.value<QJSValue>().toVariant().toMap();
    return record.toMap();
}

QString recordField(const QVariant &record, const char *name)
{
    return recordMap(record).value(QLatin1String(name)).toString();
}

// A print queue or a PDF printer shows this name for the job.
QString printJobName(const QString &title)
{
    const QString program = QCoreApplication::applicationName();
    return title.trimmed().isEmpty() ? program : program + QStringLiteral(" - ") + title.trimmed();
}

// The resolution a screen-resolution printer takes, in which the page rule of
// the print is stated.
int screenResolution()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInchY()) : 96;
}

// With no window manager nothing gives the keyboard back to the window once a
// dialog has closed, and its shortcuts (Ctrl+O) would wait for a click. The
// window that was active when the call began is activated again as it ends.
class ActivationReturn
{
public:
    ActivationReturn() : m_window(QGuiApplication::focusWindow()) {}
    ~ActivationReturn()
    {
        if (m_window)
            m_window->requestActivate();
    }
    ActivationReturn(const ActivationReturn &) = delete;
    ActivationReturn &operator=(const ActivationReturn &) = delete;

private:
    QPointer<QWindow> m_window;
};

} // namespace

PrintHelper::PrintHelper(QObject *parent) : QObject(parent) {}

void PrintHelper::printImage(QVariant image, QVariant record)
{
    // A null picture would only cost the user a blank sheet of paper.
    if (!holdsImage(image) || image.value<QImage>().isNull())
        return;
    const ActivationReturn activation;

    // The printer works at its own resolution, so that a large composite keeps
    // its detail on paper. Landscape suits the usual wide photograph; the user
    // may still turn the page in the dialog, but each print starts from
    // landscape.
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(printJobName(recordField(record, "title")));
    if (!choosePrinter(&printer))
        return;

    QPainter painter;
    if (!painter.begin(&printer))
        return;
    const QImage picture = image.value<QImage>();
    const QRectF target = orvalith::printTarget(printer.pageLayout(), printer.resolution(),
                                                screenResolution(), QSizeF(picture.size()));
    // Drawn from all its pixels: the printer's own scaling keeps what the
    // page can show.
    const orvalith::PrintedRecord printed = orvalith::printedRecord(recordMap(record));
    if (printed.isEmpty()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, picture);
    } else {
        const QRect page(QPoint(0, 0),
                         printer.pageLayout().paintRectPixels(printer.resolution()).size());
        orvalith::paintRecordPage(painter, page, picture, target.size(), printed);
    }
    painter.end();
}

bool PrintHelper::choosePrinter(QPrinter *printer)
{
    QPrintDialog dialog(printer);
    return dialog.exec() == QDialog::Accepted;
}

void PrintHelper::saveImage(QVariant image, QVariant record)
{
    if (!holdsImage(image))
        return;
    const ActivationReturn activation;

    const QVariantMap fields = recordMap(record).value(QStringLiteral("fields")).toMap();
    const QString proposed = proposedFileName(fields.value(QStringLiteral("picture")).toString());
    const QString fileName = QFileDialog::getSaveFileName(nullptr, tr("Save File"),
                                                          QDir(saveFolder()).filePath(proposed),
                                                          tr("Images (*.png *.jpg)"));
    if (fileName.isEmpty())
        return;
    rememberFolderOf(fileName);
    rememberFormatOf(fileName);

    const orvalith::WriteResult result = orvalith::writeImageFile(
        image.value<QImage>(), fileName, orvalith::compositeMetadata(recordMap(record)));
    if (!result.succeeded())
        showSaveError(tr("There was an error saving the image."), result);
}

QString PrintHelper::saveFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QSettings().value(saveImageFolderKey, documents).toString();
}

// Remembered before writing, so that after a failure the next dialog still
// opens where the user was looking; but never a folder that does not exist,
// which would send every later dialog somewhere else.
void PrintHelper::rememberFolderOf(const QString &fileName)
{
    const QFileInfo chosenFolder(QFileInfo(fileName).dir().absolutePath());
    if (!chosenFolder.filePath().isEmpty() && chosenFolder.isDir())
        m_settings.setValue(saveImageFolderKey, chosenFolder.filePath());
}

// "photo 2024-12-09 measured.png" for "photo 2024-12-09.jpg": the composite
// sits beside its photo under a name that tells them apart, in the format
// chosen last time.
QString PrintHelper::proposedFileName(const QString &pictureName) const
{
    const QString stem = QFileInfo(pictureName).completeBaseName();
    const QString measured = tr("measured");
    const QString format = m_settings.value(saveImageFormatKey).toString();
    const QString suffix = savedFormats.contains(format) ? format : savedFormats.first();
    return (stem.isEmpty() ? measured : stem + QLatin1Char(' ') + measured) + QLatin1Char('.') +
           suffix;
}

void PrintHelper::rememberFormatOf(const QString &fileName)
{
    QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("jpeg"))
        suffix = QStringLiteral("jpg");
    if (savedFormats.contains(suffix))
        m_settings.setValue(saveImageFormatKey, suffix);
}

QString PrintHelper::failureReason(const orvalith::WriteResult &result)
{
    using orvalith::WriteFailure;
    switch (result.failure) {
    case WriteFailure::UnknownFormat:
        return tr("The file name does not end in a picture format such as .png or .jpg.");
    case WriteFailure::NotAFile:
        return tr("The name belongs to something that is not a file.");
    case WriteFailure::NoPermission:
        return tr("Writing in that folder is not permitted, or its disk is read-only.");
    case WriteFailure::DiskFull:
        return tr("The disk is full.");
    case WriteFailure::FolderMissing:
        return tr("The folder does not exist.");
    case WriteFailure::None:
    case WriteFailure::Other:
        break;
    }
    // The system's own words, for errors without a sentence of ours.
    return result.systemMessage;
}

void PrintHelper::showSaveError(const QString &heading, const orvalith::WriteResult &result)
{
    QString text = heading;
    const QString reason = failureReason(result);
    if (!reason.isEmpty())
        text += QLatin1Char('\n') + reason;
    // A plain box every time: a failure must never be one the user can silence.
    // Plain text, so that a system message is not read as markup.
    QMessageBox message(QMessageBox::Warning, QCoreApplication::applicationName(), text,
                        QMessageBox::Ok);
    message.setTextFormat(Qt::PlainText);
    message.exec();
}
