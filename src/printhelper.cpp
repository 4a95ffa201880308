#include "printhelper.h"

#include "imagefilewriter.h"
#include "pagefit.h"

#include <QDialog>
#include <QDir>
#include <QErrorMessage>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>

namespace {

const QString saveImageFolderKey = QStringLiteral("printHelper/saveImageFolder");

constexpr int savedImageQuality = 100;

// The window hands over the composite as a QImage; anything else is not
// something we can print or save.
bool holdsImage(const QVariant &image)
{
    return image.userType() == QMetaType::QImage;
}

} // namespace

PrintHelper::PrintHelper(QObject *parent) : QObject(parent) {}

void PrintHelper::printImage(QVariant image)
{
    // A null picture would only cost the user a blank sheet of paper.
    if (!holdsImage(image) || image.value<QImage>().isNull())
        return;

    // Screen resolution makes one device pixel on the page one pixel of the
    // composite. Landscape suits the usual wide photograph; the user may still
    // turn the page in the dialog, but each print starts from landscape.
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer);
    if (dialog.exec() != QDialog::Accepted)
        return;

    QPainter painter;
    if (!painter.begin(&printer))
        return;
    const QImage picture = image.value<QImage>();
    const orvalith::PagePlacement placement =
        orvalith::fitOnPage(printer.pageRect(QPrinter::DevicePixel), QSizeF(picture.size()));
    painter.drawImage(placement.topLeft, picture.scaled(placement.size, Qt::KeepAspectRatio,
                                                        Qt::SmoothTransformation));
    painter.end();
}

void PrintHelper::saveImage(QVariant image)
{
    if (!holdsImage(image))
        return;

    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString folder = m_settings.value(saveImageFolderKey, documents).toString();
    const QString fileName =
        QFileDialog::getSaveFileName(nullptr, tr("Save File"), folder, tr("Images (*.png *.jpg)"));
    if (fileName.isEmpty())
        return;

    // Remembered before writing, so that after a failure the next dialog still
    // opens where the user was looking.
    const QString chosenFolder = QFileInfo(fileName).dir().absolutePath();
    if (!chosenFolder.isEmpty())
        m_settings.setValue(saveImageFolderKey, chosenFolder);

    if (!orvalith::writeImageFile(image.value<QImage>(), fileName, savedImageQuality)) {
        QErrorMessage message;
        message.setModal(true);
        message.showMessage(tr("There was an error saving the image."));
        message.exec();
    }
}
