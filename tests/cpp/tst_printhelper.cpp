#include "app/appsetup.h"
#include "output/printhelper.h"
#include "output/recordexport.h"
#include "output/recordmetadata.h"
#include "picture/pagefit.h"

#include <QQmlApplicationEngine>
#include <QtTest>
#include <QtWidgets>

#include <QPrintDialog>
#include <QPrinter>

#include <functional>

#ifdef Q_OS_LINUX
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#endif

namespace {

const QString folderKey = QStringLiteral("printHelper/saveImageFolder");

void closeDialog(QWidget *widget)
{
    if (auto *dialog = qobject_cast<QDialog *>(widget))
        dialog->reject();
    else
        widget->close();
}

// Types a name into a file dialog as a user would. Typing into the name field
// deselects the file the dialog offered only while the field has the focus, and a
// dialog just shown may not have it yet: the offered file would stay selected and
// be the one accepted, whatever the field says.
void typeFileName(QWidget *dialog, QLineEdit *name, const QString &text)
{
    if (auto *files = dialog->findChild<QAbstractItemView *>(QStringLiteral("listView")))
        files->selectionModel()->clearSelection();
    name->setText(text);
}

// Answers, in order, the modal dialogs that the code under test opens. A
// dialog with no answer left is rejected and counted, so that an unexpected
// dialog fails the test instead of hanging it; once one was, a dialog answered
// before that is still open is rejected too.
class DialogAnswerer : public QObject
{
public:
    using Answer = std::function<void(QWidget *)>;

    explicit DialogAnswerer(QList<Answer> answers = {}) : m_answers(std::move(answers))
    {
        connect(&m_timer, &QTimer::timeout, this, &DialogAnswerer::poll);
        m_timer.start(20);
    }
    int answered() const { return m_answered; }
    int unexpected() const { return m_unexpected; }

private:
    void poll()
    {
        // A dialog comes to the top again when one opened over it closes: it was
        // answered already, and is not a new dialog.
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->isVisible())
            return;
        if (m_seen.contains(dialog)) {
            if (m_unexpected > 0)
                closeDialog(dialog);
            return;
        }
        m_seen.append(dialog);
        if (m_answered < m_answers.size()) {
            // Answers may open dialogs of their own, whose nested event loop
            // would not run this timer again while its handler is on the stack.
            const Answer answer = m_answers.at(m_answered++);
            QMetaObject::invokeMethod(
                this,
                [answer, dialog = QPointer<QWidget>(dialog)] {
                    if (dialog)
                        answer(dialog);
                },
                Qt::QueuedConnection);
        } else {
            ++m_unexpected;
            closeDialog(dialog);
        }
    }

    QList<Answer> m_answers;
    QList<QPointer<QWidget>> m_seen;
    QTimer m_timer;
    int m_answered = 0;
    int m_unexpected = 0;
};

struct SaveDialogSeen
{
    QString title;
    QString directory;
    QStringList filters;
};

SaveDialogSeen describe(const QFileDialog *dialog)
{
    return {dialog->windowTitle(), dialog->directory().absolutePath(), dialog->nameFilters()};
}

DialogAnswerer::Answer chooseFile(const QString &path, SaveDialogSeen *seen = nullptr)
{
    return [=](QWidget *widget) {
        auto *dialog = qobject_cast<QFileDialog *>(widget);
        auto *name = widget->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (!dialog || !name)
            return closeDialog(widget);
        if (seen)
            *seen = describe(dialog);
        typeFileName(widget, name, path);
        static_cast<QDialog *>(dialog)->accept();
    };
}

DialogAnswerer::Answer cancel(SaveDialogSeen *seen = nullptr)
{
    return [=](QWidget *widget) {
        if (auto *dialog = qobject_cast<QFileDialog *>(widget); dialog && seen)
            *seen = describe(dialog);
        closeDialog(widget);
    };
}

DialogAnswerer::Answer confirmOverwrite()
{
    return [](QWidget *widget) {
        auto *box = qobject_cast<QMessageBox *>(widget);
        if (!box || !box->button(QMessageBox::Yes))
            return closeDialog(widget);
        box->button(QMessageBox::Yes)->click();
    };
}

// A plain message box, with nothing that could keep the next one from showing.
DialogAnswerer::Answer readErrorMessage(QString *text)
{
    return [=](QWidget *widget) {
        // A window of its own, so that it stays up whatever happens to the main one.
        auto *box = qobject_cast<QMessageBox *>(widget);
        if (box && widget->isWindow() && !widget->parentWidget() && !box->checkBox() &&
            box->textFormat() == Qt::PlainText)
            *text += box->text();
        closeDialog(widget);
    };
}

// Answers No to the question whether to replace a file; the file dialog, which
// then stays open, is cancelled.
DialogAnswerer::Answer declineOverwrite(bool *asked)
{
    return [=](QWidget *widget) {
        auto *box = qobject_cast<QMessageBox *>(widget);
        if (!box || !box->button(QMessageBox::No))
            return closeDialog(widget);
        *asked = true;
        box->button(QMessageBox::No)->click();
        QTimer::singleShot(0, [] {
            if (QWidget *dialog = QApplication::activeModalWidget())
                closeDialog(dialog);
        });
    };
}

// The name the save dialog offers, then accepted as it is.
DialogAnswerer::Answer acceptOffered(QString *offered)
{
    return [=](QWidget *widget) {
        auto *name = widget->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (!qobject_cast<QFileDialog *>(widget) || !name)
            return closeDialog(widget);
        *offered = name->text();
        static_cast<QDialog *>(widget)->accept();
    };
}

struct PrintDialogSeen
{
    QPageLayout::Orientation orientationAtOpen = QPageLayout::Portrait;
    QPageLayout layout;
    int resolution = 0;
};

// The resolution of a screen-resolution printer, in which the page rule of a
// print is stated: one picture pixel to one device pixel.
int screenDpi()
{
    return qRound(QGuiApplication::primaryScreen()->logicalDotsPerInchY());
}

// Chooses the print-to-PDF entry, names the file and accepts. What the printer
// looks like once the dialog has applied its settings is recorded from the
// dialog's own accepted(QPrinter *) signal.
DialogAnswerer::Answer printToPdf(const QString &pdf, PrintDialogSeen *seen,
                                  bool openProperties = false)
{
    return [=](QWidget *widget) {
        auto *dialog = qobject_cast<QPrintDialog *>(widget);
        auto *printers = widget->findChild<QComboBox *>(QStringLiteral("printers"));
        auto *fileName = widget->findChild<QLineEdit *>(QStringLiteral("filename"));
        if (!dialog || !printers || !fileName)
            return closeDialog(widget);
        seen->orientationAtOpen = dialog->printer()->pageLayout().orientation();
        QObject::connect(dialog, QOverload<QPrinter *>::of(&QPrintDialog::accepted),
                         [seen](QPrinter *printer) {
                             seen->layout = printer->pageLayout();
                             seen->resolution = printer->resolution();
                         });
        printers->setCurrentIndex(printers->findText(QStringLiteral("Print to File (PDF)")));
        fileName->setText(pdf);
        if (openProperties)
            widget->findChild<QPushButton *>(QStringLiteral("properties"))->click();
        static_cast<QDialog *>(dialog)->accept();
    };
}

#ifndef Q_OS_WIN // see PdfPrintHelper
DialogAnswerer::Answer turnPageToPortrait()
{
    return [](QWidget *widget) {
        if (auto *portrait = widget->findChild<QRadioButton *>(QStringLiteral("portrait")))
            portrait->click();
        if (auto *dialog = qobject_cast<QDialog *>(widget))
            dialog->accept();
    };
}
#endif

#ifdef Q_OS_WIN
// Windows' print dialog is its own, serves only Windows' printers and cannot be
// answered from here; and poppler's tools, which read the PDF back on Linux, do
// not run from a Windows program. The printer is set to PDF as the dialog sets it
// (optionally turned to portrait, or the print cancelled), and the PDF is read
// from its own text.
class PdfPrintHelper : public PrintHelper
{
public:
    QString pdf;
    PrintDialogSeen *seen = nullptr;
    bool portrait = false;
    bool accept = true;
    int asked = 0;

protected:
    bool choosePrinter(QPrinter *printer) override
    {
        ++asked;
        if (seen)
            seen->orientationAtOpen = printer->pageLayout().orientation();
        // The page as offered, which the change of engine would drop.
        const QPageLayout offered = printer->pageLayout();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        printer->setPageLayout(offered);
        if (portrait)
            printer->setPageOrientation(QPageLayout::Portrait);
        if (seen) {
            seen->layout = printer->pageLayout();
            seen->resolution = printer->resolution();
        }
        return accept;
    }
};

QByteArray pdfBytes(const QString &pdf)
{
    QFile file(pdf);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int pdfPageCount(const QString &pdf)
{
    const QByteArray bytes = pdfBytes(pdf);
    return bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r");
}

// The first page's size in points, from its media box.
QSizeF pdfPageSize(const QString &pdf)
{
    const QByteArray bytes = pdfBytes(pdf);
    const QByteArray key = "/MediaBox [0 0 ";
    const int at = bytes.indexOf(key);
    if (at < 0)
        return {};
    const QList<QByteArray> numbers =
        bytes.mid(at + key.size(), bytes.indexOf(']', at) - at - key.size()).split(' ');
    return numbers.size() == 2 ? QSizeF(numbers.at(0).toDouble(), numbers.at(1).toDouble())
                               : QSizeF();
}

// Whether the PDF holds an image of exactly this many pixels.
bool pdfHoldsImage(const QString &pdf, const QSize &size)
{
    const QByteArray bytes = pdfBytes(pdf);
    const QByteArray width = "/Width " + QByteArray::number(size.width());
    const QByteArray height = "/Height " + QByteArray::number(size.height());
    for (int at = bytes.indexOf(width); at >= 0; at = bytes.indexOf(width, at + 1)) {
        if (bytes.mid(at, 80).contains(height))
            return true;
    }
    return false;
}

// Qt writes the document's title in UTF-16, big-endian.
bool pdfTitled(const QString &pdf, const QString &title)
{
    QByteArray utf16;
    for (const QChar c : title)
        utf16 += char(c.unicode() >> 8), utf16 += char(c.unicode() & 0xff);
    const QByteArray bytes = pdfBytes(pdf);
    return bytes.contains("/Title") && bytes.contains(utf16);
}
#endif

QString runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The resolution on the page, x and y, of the image embedded in the PDF at
// the given size, as pdfimages lists it.
QStringList embeddedImagePpi(const QString &pdf, const QSize &size)
{
    const QRegularExpression row(QStringLiteral("^.* image +%1 +%2 .* (\\d+) +(\\d+) +\\S+ +\\S+$")
                                     .arg(size.width())
                                     .arg(size.height()),
                                 QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match =
        row.match(runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}));
    return match.hasMatch() ? QStringList{match.captured(1), match.captured(2)} : QStringList();
}

QString pdfInfo(const QString &pdf, const QString &field)
{
    const QRegularExpression line(QStringLiteral("^%1:\\s+(.*)$").arg(field),
                                  QRegularExpression::MultilineOption);
    return line.match(runTool(QStringLiteral("pdfinfo"), {pdf})).captured(1).trimmed();
}

#ifndef Q_OS_WIN // see savesPngAndJpeg
// The tags exiftool reads from a file, by name.
QJsonObject exifTags(const QString &path)
{
    const QByteArray json =
        runTool(QStringLiteral("exiftool"), {QStringLiteral("-j"), path}).toUtf8();
    return QJsonDocument::fromJson(json).array().at(0).toObject();
}
#endif

// Renders the first page at the screen's resolution, where one rendered pixel
// is one pixel of a picture printed at its own size.
#ifndef Q_OS_WIN // see PdfPrintHelper
QImage renderPdf(const QString &pdf)
{
    const int dpi = screenDpi();
    const QString prefix = pdf + QStringLiteral(".page");
    runTool(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
             QStringLiteral("-singlefile"), pdf, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}
#endif

QRect inkBounds(const QImage &page)
{
    QRect bounds;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 200)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// Blue on the left, red on the right, so that a mirrored or turned picture shows.
QImage twoColourImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height, QColor(20, 40, 170));
    painter.fillRect(width / 2, 0, width - width / 2, height, QColor(170, 20, 30));
    return image;
}

// A smooth picture with some edges: what a photograph with an overlay looks like.
QImage photoLikeImage()
{
    QImage image(240, 160, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x, y + 60, (x + y) / 2));
    QPainter painter(&image);
    painter.setPen(QPen(Qt::yellow, 2));
    painter.drawEllipse(QPoint(120, 80), 50, 50);
    painter.drawLine(0, 80, 240, 80);
    return image;
}

// Mean difference per colour channel, 0 to 255.
double meanDifference(const QImage &a, const QImage &b)
{
    const QImage left = a.convertToFormat(QImage::Format_RGB32);
    const QImage right = b.convertToFormat(QImage::Format_RGB32);
    qint64 total = 0;
    for (int y = 0; y < left.height(); ++y) {
        for (int x = 0; x < left.width(); ++x) {
            const QRgb p = left.pixel(x, y);
            const QRgb q = right.pixel(x, y);
            total +=
                qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q));
        }
    }
    return double(total) / (3.0 * left.width() * left.height());
}

QImage jpegRoundTrip(const QImage &image, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", quality);
    return QImage::fromData(bytes, "JPEG");
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

#ifdef Q_OS_LINUX
bool isCharDevice(const QString &path, unsigned major, unsigned minor)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISCHR(info.st_mode) &&
           ::major(info.st_rdev) == major && ::minor(info.st_rdev) == minor;
}

// A device that behaves like /dev/full, made where a faulty save can do no harm.
bool makeFullDevice(const QString &path)
{
    return QFileInfo::exists(path) ||
           ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, 7)) == 0;
}

// With a mount namespace of our own, the test may mount a small disk and pin
// /dev/full in place without anyone else seeing it; the mounts go when the
// process ends. This must happen while the process still has one thread.
bool enterPrivateMountNamespace()
{
    return ::unshare(CLONE_NEWNS) == 0 &&
           ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

bool mountSmallDisk(const QString &folder, const QByteArray &size)
{
    return ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0,
                   ("size=" + size).constData()) == 0;
}

// A file bind-mounted onto itself cannot be renamed over: should the device
// guard ever fail, the save fails instead of replacing the node.
bool mountReadOnly(const QString &folder)
{
    const QByteArray name = QFile::encodeName(folder);
    return ::mount(name.constData(), name.constData(), nullptr, MS_BIND, nullptr) == 0 &&
           ::mount(nullptr, name.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) ==
               0;
}

bool pinInPlace(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    return ::mount(name.constData(), name.constData(), nullptr, MS_BIND, nullptr) == 0;
}

void unmount(const QString &path)
{
    ::umount2(QFile::encodeName(path).constData(), MNT_DETACH);
}
#else
// Elsewhere the tests that need these skip themselves.
bool isCharDevice(const QString &, unsigned, unsigned)
{
    return false;
}
bool makeFullDevice(const QString &)
{
    return false;
}
bool enterPrivateMountNamespace()
{
    return false;
}
bool mountSmallDisk(const QString &, const QByteArray &)
{
    return false;
}
bool mountReadOnly(const QString &)
{
    return false;
}
bool pinInPlace(const QString &)
{
    return false;
}
void unmount(const QString &) {}
#endif

void fillDisk(const QString &path)
{
    QFile filler(path);
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) {
    }
}

} // namespace

class TestPrintHelper : public QObject
{
    Q_OBJECT
public:
    explicit TestPrintHelper(bool privateMounts) : m_privateMounts(privateMounts) {}

private slots:
    void init();
    void fitsPictureOnPage_data();
    void fitsPictureOnPage();
    void printsPictureFittedOnLandscapePage_data();
    void printsPictureFittedOnLandscapePage();
    void startsEveryPrintInLandscape();
    void printsLargePictureAtFullDetailUnderItsName();
    void cancelledPrintWritesNothing();
    void ignoresAnythingButAnImage();
    void savesPngAndJpeg();
    void remembersFolderAcrossRestart();
    void savesMeasurementsBesideThePicture();
    void cancelledSaveLeavesFolderAlone();
    void savesThroughSymbolicLink();
    void reportsFailedSaveAndKeepsExistingFile_data();
    void reportsFailedSaveAndKeepsExistingFile();
    void keepsExistingFileWhenDiskIsFull();
    void savesOpaqueRgbCarryingTheRecord();
    void proposesPictureNameInLastFormat();
    void asksBeforeReplacingMeasurements();
    void reportsEveryFailureEveryTime();
    void printsRecordBelowThePicture();
    void windowSavesItsReadings();
    void cleanupTestCase();

private:
    struct Printed
    {
        PrintDialogSeen dialog;
        QImage page;
        int pages = 0;
        QSizeF pageSize; // and what is read of a PDF without rendering it (Windows)
        bool holdsWholePicture = false;
    };
    Printed print(const QImage &image);
    QString saveAndReadError(const QString &target, bool confirm,
                             const QImage &image = photoLikeImage());

    bool m_privateMounts;
    // Inside the test's sandbox when there is one, which is wiped before each
    // run, so that an interrupted run leaves nothing behind for long.
    QTemporaryDir m_dir{qEnvironmentVariable("ORVALITH_SANDBOX", QDir::tempPath()) +
                        QStringLiteral("/printhelper-XXXXXX")};
};

void TestPrintHelper::init()
{
    QSettings().remove(folderKey);
}

void TestPrintHelper::fitsPictureOnPage_data()
{
    QTest::addColumn<QRectF>("page");
    QTest::addColumn<QSizeF>("image");
    QTest::addColumn<QPoint>("topLeft");
    QTest::addColumn<QSize>("size");

    const QRectF page(10, 20, 1000, 700); // room: 990 x 680
    QTest::newRow("width step only")
        << page << QSizeF(1980, 1000) << QPoint(10, 110) << QSize(990, 500);
    QTest::newRow("height step only")
        << page << QSizeF(800, 1360) << QPoint(305, 20) << QSize(400, 680);
    // 1980 x 1600 -> 990 x 800 -> 841.5 x 680, placed at 84.25, 20.
    QTest::newRow("both steps") << page << QSizeF(1980, 1600) << QPoint(84, 20) << QSize(841, 680);
    QTest::newRow("never enlarged")
        << page << QSizeF(300, 200) << QPoint(355, 260) << QSize(300, 200);
    QTest::newRow("exact fit") << page << QSizeF(990, 680) << QPoint(10, 20) << QSize(990, 680);
    // 301 x 99 -> 100 x 32.89, placed at 0, 33.55: sizes and places truncate.
    QTest::newRow("truncated") << QRectF(0, 0, 100, 100) << QSizeF(301, 99) << QPoint(0, 33)
                               << QSize(100, 32);
}

void TestPrintHelper::fitsPictureOnPage()
{
    QFETCH(QRectF, page);
    QFETCH(QSizeF, image);
    const orvalith::PagePlacement placement = orvalith::fitOnPage(page, image);
    QTEST(placement.topLeft, "topLeft");
    QTEST(placement.size, "size");
}

TestPrintHelper::Printed TestPrintHelper::print(const QImage &image)
{
    static int count = 0;
    const QString pdf = m_dir.filePath(QStringLiteral("print%1.pdf").arg(++count));
    Printed printed;
#ifdef Q_OS_WIN
    PdfPrintHelper helper;
    helper.pdf = pdf;
    helper.seen = &printed.dialog;
    helper.printImage(QVariant(image));
    if (helper.asked == 1 && printed.dialog.resolution > 0) {
        printed.pages = pdfPageCount(pdf);
        printed.pageSize = pdfPageSize(pdf);
        printed.holdsWholePicture = pdfHoldsImage(pdf, image.size());
    }
#else
    DialogAnswerer answerer({printToPdf(pdf, &printed.dialog)});
    PrintHelper().printImage(QVariant(image));
    if (answerer.answered() == 1 && answerer.unexpected() == 0 && printed.dialog.resolution > 0) {
        printed.pages = pdfInfo(pdf, QStringLiteral("Pages")).toInt();
        printed.page = renderPdf(pdf);
    }
#endif
    return printed;
}

void TestPrintHelper::printsPictureFittedOnLandscapePage_data()
{
    QTest::addColumn<QSize>("imageSize");
    QTest::newRow("smaller than the page") << QSize(300, 200);
    QTest::newRow("too wide") << QSize(3000, 600);
    QTest::newRow("too tall") << QSize(400, 2000);
}

void TestPrintHelper::printsPictureFittedOnLandscapePage()
{
    QFETCH(QSize, imageSize);
    const Printed printed = print(twoColourImage(imageSize.width(), imageSize.height()));
    QCOMPARE(printed.dialog.orientationAtOpen, QPageLayout::Landscape);
    QCOMPARE(printed.pages, 1);
#ifdef Q_OS_WIN
    // Not rendered here (see PdfPrintHelper): one landscape page holding the picture.
    QVERIFY(printed.pageSize.width() > printed.pageSize.height());
    QVERIFY(printed.holdsWholePicture);
    return;
#endif
    QVERIFY(printed.page.width() > printed.page.height());

    // The painter's origin sits at the page rectangle's corner on the paper.
    const QRectF page(printed.dialog.layout.paintRectPixels(screenDpi()));
    const orvalith::PagePlacement placement = orvalith::fitOnPage(page, QSizeF(imageSize));
    const QRect expected(placement.topLeft + page.topLeft().toPoint(), placement.size);
    const QRect ink = inkBounds(printed.page);
    const QPoint offset = ink.topLeft() - expected.topLeft();
    const QSize growth = ink.size() - expected.size();
    QVERIFY2(offset.manhattanLength() <= 2 && qAbs(growth.width()) + qAbs(growth.height()) <= 2,
             qPrintable(QStringLiteral("drawn at %1,%2 size %3x%4")
                            .arg(ink.x())
                            .arg(ink.y())
                            .arg(ink.width())
                            .arg(ink.height())));
    if (page.size().width() - page.x() >= imageSize.width() &&
        page.size().height() - page.y() >= imageSize.height())
        QVERIFY(qAbs(ink.width() - imageSize.width()) <= 1 && // never enlarged
                qAbs(ink.height() - imageSize.height()) <= 1);
    // Neither mirrored nor turned.
    QVERIFY(qBlue(printed.page.pixel(ink.left() + 3, ink.center().y())) > 120);
    QVERIFY(qRed(printed.page.pixel(ink.right() - 3, ink.center().y())) > 120);
}

void TestPrintHelper::startsEveryPrintInLandscape()
{
    const QString firstPdf = m_dir.filePath(QStringLiteral("portrait.pdf"));
    const QString secondPdf = m_dir.filePath(QStringLiteral("again.pdf"));
    PrintDialogSeen first;
    PrintDialogSeen second;
#ifdef Q_OS_WIN
    PdfPrintHelper helper;
    helper.pdf = firstPdf;
    helper.seen = &first;
    helper.portrait = true;
    helper.printImage(QVariant(twoColourImage(200, 100)));
    helper.pdf = secondPdf;
    helper.seen = &second;
    helper.portrait = false;
    helper.printImage(QVariant(twoColourImage(200, 100)));
    QCOMPARE(helper.asked, 2);
    QVERIFY(pdfPageSize(firstPdf).height() > pdfPageSize(firstPdf).width());
    QCOMPARE(second.orientationAtOpen, QPageLayout::Landscape);
    QVERIFY(pdfPageSize(secondPdf).width() > pdfPageSize(secondPdf).height());
#else
    PrintHelper helper;
    {
        DialogAnswerer answerer({printToPdf(firstPdf, &first, true), turnPageToPortrait()});
        helper.printImage(QVariant(twoColourImage(200, 100)));
        QCOMPARE(answerer.answered(), 2);
    }
    {
        DialogAnswerer answerer({printToPdf(secondPdf, &second)});
        helper.printImage(QVariant(twoColourImage(200, 100)));
        QCOMPARE(answerer.answered(), 1);
    }
    // The user's choice of portrait holds for that print only.
    const QImage portraitPage = renderPdf(firstPdf);
    QVERIFY(portraitPage.height() > portraitPage.width());
    QCOMPARE(second.orientationAtOpen, QPageLayout::Landscape);
    const QImage landscapePage = renderPdf(secondPdf);
    QVERIFY(landscapePage.width() > landscapePage.height());
#endif
}

// Drawn into its place on the page from all its pixels, so that a large
// picture keeps its detail, and named after the program and the reference.
void TestPrintHelper::printsLargePictureAtFullDetailUnderItsName()
{
    const QString pdf = m_dir.filePath(QStringLiteral("large.pdf"));
    PrintDialogSeen seen;
    const QVariantMap record{{QStringLiteral("title"), QStringLiteral("Visit 3, left eye")}};
#ifdef Q_OS_WIN
    PdfPrintHelper helper;
    helper.pdf = pdf;
    helper.seen = &seen;
    helper.printImage(QVariant(twoColourImage(4000, 3000)), QVariant(record));
    QCOMPARE(helper.asked, 1);
    QVERIFY(pdfTitled(pdf, QStringLiteral("Orvalith - Visit 3, left eye")));
    QVERIFY(pdfHoldsImage(pdf, QSize(4000, 3000)));
    QVERIFY(seen.resolution >= 300);
    return;
#endif
    DialogAnswerer answerer({printToPdf(pdf, &seen)});
    PrintHelper().printImage(QVariant(twoColourImage(4000, 3000)), QVariant(record));
    QCOMPARE(answerer.answered(), 1);

    QCOMPARE(pdfInfo(pdf, QStringLiteral("Title")), QStringLiteral("Orvalith - Visit 3, left eye"));
    const QStringList ppi = embeddedImagePpi(pdf, QSize(4000, 3000));
    QVERIFY2(ppi.size() == 2 && ppi.at(0).toInt() >= 300 && ppi.at(1).toInt() >= 300,
             qPrintable(ppi.join(QStringLiteral(" x "))));
}

void TestPrintHelper::cancelledPrintWritesNothing()
{
    const QString pdf = m_dir.filePath(QStringLiteral("cancelled.pdf"));
#ifdef Q_OS_WIN
    PdfPrintHelper helper;
    helper.pdf = pdf;
    helper.accept = false;
    helper.printImage(QVariant(twoColourImage(200, 100)));
    QCOMPARE(helper.asked, 1);
    QVERIFY(!QFile::exists(pdf));
    return;
#endif
    DialogAnswerer answerer({[&](QWidget *widget) {
        if (auto *fileName = widget->findChild<QLineEdit *>(QStringLiteral("filename")))
            fileName->setText(pdf);
        closeDialog(widget);
    }});
    PrintHelper().printImage(QVariant(twoColourImage(200, 100)));
    QCOMPARE(answerer.answered(), 1);
    QVERIFY(!QFile::exists(pdf));
}

void TestPrintHelper::ignoresAnythingButAnImage()
{
    QSettings().setValue(folderKey, m_dir.path());
    DialogAnswerer answerer;
    PrintHelper helper;
    const QImage image = twoColourImage(20, 20);
    for (const QVariant &notAnImage :
         {QVariant(), QVariant(QStringLiteral("file:///tmp/scan.png")),
          QVariant(QPixmap::fromImage(image)), QVariant(QByteArray("\x89PNG"))}) {
        helper.printImage(notAnImage);
        helper.saveImage(notAnImage);
    }
    helper.printImage(QVariant(QImage())); // nothing to print
    QCOMPARE(answerer.unexpected(), 0);
    QCOMPARE(QSettings().value(folderKey).toString(), m_dir.path());
}

void TestPrintHelper::savesPngAndJpeg()
{
    const QImage image = photoLikeImage();
    // Where no picture covers the drawing area the composite is see-through.
    QImage seeThrough = image;
    QPainter painter(&seeThrough);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(0, 0, 60, 160, QColor(255, 255, 0, 90));
    painter.end();
    const QString png = m_dir.filePath(QStringLiteral("scan.png"));
    const QString jpeg = m_dir.filePath(QStringLiteral("scan.jpg"));
    const QString text = QStringLiteral("Reference\t10,00 mm\nMeasure 1\t2,53 mm");
    const QVariant record(QVariantMap{{QStringLiteral("text"), text}});
    DialogAnswerer answerer({chooseFile(png), chooseFile(jpeg)});
    PrintHelper helper;
    helper.saveImage(QVariant(seeThrough), record);
    helper.saveImage(QVariant(image), record);
    QCOMPARE(answerer.answered(), 2);

    // Lossless, transparency included, and really compressed.
    QImageReader pngReader(png);
    QCOMPARE(pngReader.format(), QByteArray("png"));
    QCOMPARE(pngReader.read().convertToFormat(QImage::Format_ARGB32),
             seeThrough.convertToFormat(QImage::Format_ARGB32));
    QVERIFY(QFileInfo(png).size() < seeThrough.sizeInBytes() / 3);
    // The record travels with the picture, readable by other tools (exiftool,
    // a Linux program, cannot be started from a Windows one: Qt's readers there).
#ifdef Q_OS_WIN
    QCOMPARE(QImage(png).text(QStringLiteral("Description")), text);
    QCOMPARE(QImage(jpeg).text(QStringLiteral("Description")), text);
#else
    QCOMPARE(exifTags(png).value(QStringLiteral("Description-utf-8")).toString(), text);
    QCOMPARE(exifTags(jpeg).value(QStringLiteral("Comment")).toString(),
             QStringLiteral("Description: ") + text);
#endif

    QImageReader jpegReader(jpeg);
    QCOMPARE(jpegReader.format(), QByteArray("jpeg"));
    const QImage saved = jpegReader.read();
    QCOMPARE(saved.size(), image.size());
    // Close to the original (the thin yellow lines lose some colour to the
    // format's colour subsampling), and closer than even quality 95 gets.
    const double error = meanDifference(saved, image);
    const double errorAt95 = meanDifference(jpegRoundTrip(image, 95), image);
    QVERIFY2(error < 3.0 && error < errorAt95,
             qPrintable(QStringLiteral("%1 vs %2").arg(error).arg(errorAt95)));
}

// The list goes by default where the picture was just saved, under the name
// offered, in UTF-8; a name typed without a suffix gets ".csv". The folder's
// name has a space and an accent, as a patient's folder often has.
void TestPrintHelper::savesMeasurementsBesideThePicture()
{
    const QString folder = m_dir.filePath(QStringLiteral("visit 4 Pe\u00f1a"));
    QVERIFY(QDir().mkpath(folder));
    const QString csv = QStringLiteral("Picture,eye.jpg\r\nGuide line,45.5,\u00b0\r\n");
    SaveDialogSeen seen;
    const auto acceptAsOffered = [&seen](QWidget *widget) {
        auto *dialog = qobject_cast<QFileDialog *>(widget);
        if (!dialog)
            return closeDialog(widget);
        seen = describe(dialog);
        static_cast<QDialog *>(dialog)->accept();
    };
    DialogAnswerer answerer({chooseFile(folder + QStringLiteral("/eye.png")), acceptAsOffered,
                             chooseFile(folder + QStringLiteral("/typed"))});
    PrintHelper().saveImage(QVariant(photoLikeImage()));
    RecordExport record;
    QVERIFY(record.saveTextAs(csv, QStringLiteral("eye.csv")));
    QVERIFY(record.saveTextAs(csv, QStringLiteral("eye.csv")));
    QCOMPARE(answerer.answered(), 3);
    QCOMPARE(answerer.unexpected(), 0);

    QVERIFY(!QImage(folder + QStringLiteral("/eye.png")).isNull());
    QCOMPARE(seen.directory, folder);
    QCOMPARE(fileBytes(folder + QStringLiteral("/eye.csv")), csv.toUtf8());
    QCOMPARE(fileBytes(folder + QStringLiteral("/typed.csv")), csv.toUtf8());
}

void TestPrintHelper::remembersFolderAcrossRestart()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString folder = m_dir.filePath(QStringLiteral("visits"));
    QVERIFY(QDir().mkpath(folder));
    SaveDialogSeen first;
    SaveDialogSeen second;
    SaveDialogSeen afterRestart;
    {
        DialogAnswerer answerer({chooseFile(folder + QStringLiteral("/a.png"), &first),
                                 chooseFile(folder + QStringLiteral("/b.png"), &second)});
        PrintHelper helper;
        helper.saveImage(QVariant(photoLikeImage()));
        helper.saveImage(QVariant(photoLikeImage()));
        QCOMPARE(answerer.answered(), 2);
    }
    QVERIFY(!documents.isEmpty());
    QCOMPARE(first.directory, QDir(documents).absolutePath());
    QCOMPARE(first.title, QStringLiteral("Save File"));
    QCOMPARE(first.filters, QStringList{QStringLiteral("Images (*.png *.jpg)")});
    QCOMPARE(second.directory, folder);
    // The helper has gone, so its store must be on disk for the next run: on
    // Windows in the registry, under the organisation's and the program's names.
#ifdef Q_OS_WIN
    QCOMPARE(QSettings(QStringLiteral("HKEY_CURRENT_USER\\Software\\Orvalith\\Orvalith"),
                       QSettings::NativeFormat)
                 .value(folderKey)
                 .toString(),
             folder);
#else
    QVERIFY(fileBytes(QSettings().fileName()).contains(QFile::encodeName(folder)));
#endif

    DialogAnswerer answerer({cancel(&afterRestart)});
    PrintHelper().saveImage(QVariant(photoLikeImage()));
    QCOMPARE(afterRestart.directory, folder);
}

void TestPrintHelper::cancelledSaveLeavesFolderAlone()
{
    {
        DialogAnswerer answerer({cancel()});
        PrintHelper().saveImage(QVariant(photoLikeImage()));
        QCOMPARE(answerer.answered(), 1);
    }
    QVERIFY(!QSettings().contains(folderKey));

    QSettings().setValue(folderKey, m_dir.path());
    const QStringList before = QDir(m_dir.path()).entryList(QDir::Files);
    DialogAnswerer answerer({cancel()});
    PrintHelper().saveImage(QVariant(photoLikeImage()));
    QCOMPARE(answerer.answered(), 1);
    QCOMPARE(QSettings().value(folderKey).toString(), m_dir.path());
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), before);
}

void TestPrintHelper::savesThroughSymbolicLink()
{
#ifdef Q_OS_WIN
    QSKIP("QFile::link makes a shell shortcut (.lnk) on Windows, which saving does not follow");
#endif
    const QString folder = m_dir.filePath(QStringLiteral("linked"));
    QVERIFY(QDir().mkpath(folder));
    const QString target = folder + QStringLiteral("/target.png");
    const QString link = folder + QStringLiteral("/link.png");
    writeBytes(target, "old");
    QVERIFY(QFile::link(target, link));

    DialogAnswerer answerer({chooseFile(link), confirmOverwrite()});
    PrintHelper().saveImage(QVariant(photoLikeImage()));
    QCOMPARE(answerer.answered(), 2);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QImage(target).size(), photoLikeImage().size());
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::System).size(), 2);
}

// The message the save shows, once the window that asked has the keyboard
// again (its shortcuts work as soon as the message is closed); empty if not.
QString TestPrintHelper::saveAndReadError(const QString &target, bool confirm, const QImage &image)
{
    QWidget window;
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        return QStringLiteral("the window was never active");
    QString error;
    QList<DialogAnswerer::Answer> answers{chooseFile(target)};
    if (confirm)
        answers << confirmOverwrite();
    answers << readErrorMessage(&error);
    DialogAnswerer answerer(answers);
    PrintHelper().saveImage(QVariant(image));
    const bool activeAgain = QTest::qWaitFor([&] { return window.isActiveWindow(); }, 5000);
    if (!activeAgain)
        return QStringLiteral("the window did not get the keyboard back");
    if (answerer.answered() != answers.size() || answerer.unexpected() != 0)
        return QStringLiteral("%1 of %2 dialogs answered, %3 unexpected")
            .arg(answerer.answered())
            .arg(answers.size())
            .arg(answerer.unexpected());
    return error;
}

void TestPrintHelper::reportsFailedSaveAndKeepsExistingFile_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");

    const QString folder = m_dir.filePath(QStringLiteral("bad"));
    QDir().mkpath(folder);
    QDir().mkpath(m_dir.filePath(QStringLiteral("read-only")));
    const QString noPermission =
        QStringLiteral("Writing in that folder is not permitted, or its disk is read-only.");
    const QString unknownFormat =
        QStringLiteral("The file name does not end in a picture format such as .png or .jpg.");
    const QString notAFile = QStringLiteral("The name belongs to something that is not a file.");
#ifdef Q_OS_WIN
    // Windows refuses "?" in a name and reads a colon as the start of a stream
    // name; the reason is the system's or Qt's own words (Wine's differ from
    // Windows'), so only the refusal is compared. The Linux rows below need
    // /proc, mounts and device files, which Windows has not.
    QTest::newRow("question mark in the name")
        << folder + QStringLiteral("/what?.png") << "absent" << QString();
    QTest::newRow("colon in the name")
        << folder + QStringLiteral("/left:right.png") << "absent" << QString();
#else
    // The system's own words where it says no more than that.
    QTest::newRow("folder nobody can write") << QStringLiteral("/proc/scan.png") << "absent"
                                             << QStringLiteral("No such file or directory");
    QTest::newRow("read-only disk")
        << m_dir.filePath(QStringLiteral("read-only/scan.png")) << "read-only" << noPermission;
#endif
    QTest::newRow("missing folder") << m_dir.filePath(QStringLiteral("gone/scan.png")) << "missing"
                                    << QStringLiteral("The folder does not exist.");
    QTest::newRow("no suffix") << folder + QStringLiteral("/scan") << "file" << unknownFormat;
    QTest::newRow("unknown suffix")
        << folder + QStringLiteral("/scan.txt") << "file" << unknownFormat;
#ifndef Q_OS_WIN
    QTest::newRow("device named like a picture")
        << folder + QStringLiteral("/full.png") << "device" << notAFile;
    QTest::newRow("link to a device")
        << folder + QStringLiteral("/linked.jpg") << "link" << notAFile;
    QTest::newRow("/dev/full") << QStringLiteral("/dev/full") << "system device" << unknownFormat;
#endif
}

// Every failure shows the message with its reason, leaves what was there
// untouched, and leaves no half-written or temporary file beside it.
void TestPrintHelper::reportsFailedSaveAndKeepsExistingFile()
{
    QFETCH(QString, target);
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QString folder = QFileInfo(target).absolutePath();
    const QString device = m_dir.filePath(QStringLiteral("bad/full.png"));
    const QByteArray earlier("earlier scan, not to be lost");
    if (kind == QLatin1String("file"))
        writeBytes(target, earlier);
    const bool usesDevice = kind == QLatin1String("device") || kind == QLatin1String("link");
    if (usesDevice && !makeFullDevice(device))
        QSKIP("Creating a device node is not permitted here");
    if (kind == QLatin1String("link"))
        QVERIFY(QFile::link(device, target));
    if (kind == QLatin1String("system device") && !(m_privateMounts && pinInPlace(target)))
        QSKIP("Cannot protect /dev/full from a faulty save here");
    // Root writes through permission bits, but not onto a read-only mount.
    if (kind == QLatin1String("read-only") && !(m_privateMounts && mountReadOnly(folder)))
        QSKIP("Mounting a read-only folder is not permitted here");
    // /proc and /dev change on their own; only our folder can be compared.
    const bool ownFolder = folder.startsWith(m_dir.path());
    const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::System);

    const bool replacesSomething = QFileInfo::exists(target) || QFileInfo(target).isSymLink();
    const QString error = saveAndReadError(target, replacesSomething);
    if (kind == QLatin1String("system device"))
        unmount(target);
    if (kind == QLatin1String("read-only"))
        unmount(folder);

    const QString heading = QStringLiteral("There was an error saving the image.\n");
    if (reason.isEmpty())
        QVERIFY2(error.startsWith(heading) && error.size() > heading.size(), qPrintable(error));
    else
        QCOMPARE(error, heading + reason);
    // A folder that does not exist would send every later dialog elsewhere.
    QCOMPARE(QSettings().value(folderKey).toString(),
             kind == QLatin1String("missing") ? QString() : folder);
    if (ownFolder)
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::System), before);
    if (kind == QLatin1String("absent"))
        QVERIFY(!QFileInfo::exists(target));
    if (kind == QLatin1String("file"))
        QCOMPARE(fileBytes(target), earlier);
    if (usesDevice)
        QVERIFY(isCharDevice(device, 1, 7));
    if (kind == QLatin1String("link"))
        QCOMPARE(QFileInfo(target).symLinkTarget(), device);
}

void TestPrintHelper::keepsExistingFileWhenDiskIsFull()
{
    const QString disk = m_dir.filePath(QStringLiteral("disk"));
    QVERIFY(QDir().mkpath(disk));
    if (!m_privateMounts || !mountSmallDisk(disk, "512k"))
        QSKIP("Mounting a small disk is not permitted here");
    const QString target = disk + QStringLiteral("/scan.png");
    // Grain, so that the picture does not compress to almost nothing.
    QImage grainy(160, 160, QImage::Format_RGB32);
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(grainy.bits()),
                                  grainy.sizeInBytes() / 4);
    QVERIFY(grainy.save(target));
    const QByteArray earlier = fileBytes(target);
    const QString filler = disk + QStringLiteral("/filler");
    fillDisk(filler);
    // Leave less room than the new picture needs, so the write fails part-way.
    QVERIFY(QFile::resize(filler, QFileInfo(filler).size() - 64 * 1024));
    const QStringList before = QDir(disk).entryList(QDir::Files);

    const QString error = saveAndReadError(target, true, grainy);
    const QByteArray after = fileBytes(target);
    const QStringList listing = QDir(disk).entryList(QDir::Files);
    unmount(disk);

    QCOMPARE(error, QStringLiteral("There was an error saving the image.\nThe disk is full."));
    QCOMPARE(after, earlier);
    QCOMPARE(listing, before);
}

// What the window hands over with a composite: see MeasuresList.exportRecord.
QVariantMap knownRecord()
{
    const QVariantMap fields{
        {QStringLiteral("picture"), QStringLiteral("photo 2024-12-09.jpg")},
        {QStringLiteral("reference"), QStringLiteral("Visit 3")},
        {QStringLiteral("eye"), QStringLiteral("R.E.")},
        {QStringLiteral("savedAt"), QStringLiteral("2026-12-09T03:20:00+00:00")},
        {QStringLiteral("calibrationReference"), QStringLiteral("10")},
        {QStringLiteral("calibrationUnit"), QStringLiteral("mm")},
        {QStringLiteral("pixelsPerUnit"), QStringLiteral("51.250")},
        {QStringLiteral("program"), QStringLiteral("Orvalith 3.3.1")}};
    const QVariantList header{QVariantList{QStringLiteral("Reference"), QStringLiteral("Visit 3")},
                              QVariantList{QStringLiteral("Eye"), QStringLiteral("R.E.")}};
    const QVariantList rows{
        QVariantList{QStringLiteral("Calibration"), QStringLiteral("10"), QStringLiteral("mm")},
        QVariantList{QStringLiteral("Measure 1"), QStringLiteral("4.26"), QStringLiteral("mm")},
        QVariantList{QStringLiteral("Guide line"), QStringLiteral("45.5"),
                     QStringLiteral("\u00b0")}};
    return {{QStringLiteral("text"), QStringLiteral("Eye\tR.E.\nMeasure 1\t4.26\tmm")},
            {QStringLiteral("fields"), fields},
            {QStringLiteral("header"), header},
            {QStringLiteral("rows"), rows}};
}

// An opaque composite loses its unused alpha channel and nothing else; both
// formats carry the record's fields where other tools read them, and the mark
// of a composite.
void TestPrintHelper::savesOpaqueRgbCarryingTheRecord()
{
    const QImage image = photoLikeImage();
    const QString png = m_dir.filePath(QStringLiteral("record.png"));
    const QString jpeg = m_dir.filePath(QStringLiteral("record.jpg"));
    DialogAnswerer answerer({chooseFile(png), chooseFile(jpeg)});
    PrintHelper helper;
    helper.saveImage(QVariant(image), QVariant(knownRecord()));
    helper.saveImage(QVariant(image), QVariant(knownRecord()));
    QCOMPARE(answerer.answered(), 2);

    const QImage saved(png);
    QVERIFY(!saved.hasAlphaChannel());
    QCOMPARE(saved.convertToFormat(QImage::Format_RGB32),
             image.convertToFormat(QImage::Format_RGB32));
    QVERIFY(fileBytes(png).contains(QByteArray("iTXtEye\0", 8))); // international text
    QVERIFY(orvalith::carriesCompositeMark(png) && orvalith::carriesCompositeMark(jpeg));
#ifndef Q_OS_WIN // exiftool, a Linux program, cannot be started from a Windows one
    const QJsonObject pngTags = exifTags(png);
    QCOMPARE(pngTags.value(QStringLiteral("ColorType")).toString(), QStringLiteral("RGB"));
    for (const QJsonObject &tags : {pngTags, exifTags(jpeg)}) {
        const auto tag = [&tags](const char *name) {
            return tags.value(QLatin1String(name)).toVariant().toString();
        };
        const QString all = QJsonDocument(tags).toJson();
        QVERIFY2(tag("Picture") == QStringLiteral("photo 2024-12-09.jpg"), qPrintable(all));
        QCOMPARE(tag("Reference"), QStringLiteral("Visit 3"));
        QCOMPARE(tag("Eye"), QStringLiteral("R.E."));
        QCOMPARE(tag("CreateDate"), QStringLiteral("2026:12:09 03:20:00+00:00"));
        QCOMPARE(tag("CalibrationReference"), QStringLiteral("10"));
        QCOMPARE(tag("CalibrationUnit"), QStringLiteral("mm"));
        QCOMPARE(tag("PixelsPerUnit").toDouble(), 51.25);
        QCOMPARE(tag("CreatorTool"), QStringLiteral("Orvalith 3.3.1"));
        QCOMPARE(tag("Composite"), QStringLiteral("true"));
    }
    QCOMPARE(pngTags.value(QStringLiteral("Software")).toString(),
             QStringLiteral("Orvalith 3.3.1"));
    QCOMPARE(exifTags(jpeg).value(QStringLiteral("Comment")).toString(),
             QStringLiteral("Description: Eye\tR.E.\nMeasure 1\t4.26\tmm"));
#endif
}

// The picture's own name beside it, in the format the user chose last.
void TestPrintHelper::proposesPictureNameInLastFormat()
{
    QSettings().setValue(folderKey, m_dir.path());
    QSettings().remove(QStringLiteral("printHelper/saveImageFormat"));
    QString first;
    QString second;
    QString error;
    DialogAnswerer answerer({acceptOffered(&first),
                             chooseFile(m_dir.filePath(QStringLiteral("x.JPG"))),
                             acceptOffered(&second)});
    PrintHelper helper;
    for (int i = 0; i < 3; ++i)
        helper.saveImage(QVariant(photoLikeImage()), QVariant(knownRecord()));
    QCOMPARE(answerer.answered(), 3);
    QCOMPARE(answerer.unexpected(), 0); // no error message
    QCOMPARE(first, QStringLiteral("photo 2024-12-09 measured.png"));
    QCOMPARE(second, QStringLiteral("photo 2024-12-09 measured.jpg"));
    QVERIFY(QImage(m_dir.filePath(first)).size() == photoLikeImage().size());
    QCOMPARE(QImageReader(m_dir.filePath(second)).format(), QByteArray("jpeg"));
}

// "eye" typed where eye.csv is: the dialog itself adds the suffix and asks.
void TestPrintHelper::asksBeforeReplacingMeasurements()
{
    const QString folder = m_dir.filePath(QStringLiteral("replace"));
    QVERIFY(QDir().mkpath(folder));
    const QByteArray earlier("Picture,eye.jpg\r\n");
    writeBytes(folder + QStringLiteral("/eye.csv"), earlier);
    bool asked = false;
    const auto typeName = [folder](QWidget *widget) {
        auto *dialog = qobject_cast<QFileDialog *>(widget);
        auto *name = widget->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (!dialog || !name)
            return closeDialog(widget);
        dialog->setDirectory(folder);
        typeFileName(widget, name, QStringLiteral("eye"));
        static_cast<QDialog *>(dialog)->accept();
    };
    DialogAnswerer answerer({typeName, declineOverwrite(&asked)});
    QVERIFY(!RecordExport().saveTextAs(QStringLiteral("new"), QStringLiteral("eye.csv")));
    QCOMPARE(answerer.answered(), 2);
    QCOMPARE(answerer.unexpected(), 0);
    QVERIFY(asked);
    QCOMPARE(fileBytes(folder + QStringLiteral("/eye.csv")), earlier);
}

// A message closed once comes back for the next failure.
void TestPrintHelper::reportsEveryFailureEveryTime()
{
#ifdef Q_OS_WIN
    // A name Windows refuses; its reason is the system's words (Wine's differ).
    const QString refused = m_dir.filePath(QStringLiteral("what?.png"));
    for (int attempt = 0; attempt < 2; ++attempt)
        QVERIFY(saveAndReadError(refused, false)
                    .startsWith(QStringLiteral("There was an error saving the image.\n")));
#else
    for (int attempt = 0; attempt < 2; ++attempt)
        QCOMPARE(saveAndReadError(QStringLiteral("/proc/scan.png"), false),
                 QStringLiteral("There was an error saving the image.\nNo such file or directory"));
#endif
}

// The picture at the top, the list under it, on one page; its text is text.
void TestPrintHelper::printsRecordBelowThePicture()
{
    const QString pdf = m_dir.filePath(QStringLiteral("record.pdf"));
    PrintDialogSeen seen;
#ifdef Q_OS_WIN
    // Not rendered nor read as text here (see PdfPrintHelper): one page with the picture.
    PdfPrintHelper helper;
    helper.pdf = pdf;
    helper.seen = &seen;
    helper.printImage(QVariant(twoColourImage(1600, 1200)), QVariant(knownRecord()));
    QCOMPARE(helper.asked, 1);
    QCOMPARE(pdfPageCount(pdf), 1);
    QVERIFY(pdfHoldsImage(pdf, QSize(1600, 1200)));
#else
    DialogAnswerer answerer({printToPdf(pdf, &seen)});
    PrintHelper().printImage(QVariant(twoColourImage(1600, 1200)), QVariant(knownRecord()));
    QCOMPARE(answerer.answered(), 1);
    QCOMPARE(pdfInfo(pdf, QStringLiteral("Pages")), QStringLiteral("1"));

    const QString text =
        runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    for (const char *expected :
         {"Visit 3", "R.E.", "Calibration", "Measure 1", "4.26", "Guide line"})
        QVERIFY2(text.contains(QLatin1String(expected)), qPrintable(text));
    const QImage page = renderPdf(pdf);
    const QRect ink = inkBounds(page);
    // The picture's colours fill the top of the inked area; text lies below it.
    int pictureBottom = ink.top();
    while (pictureBottom < page.height() && qBlue(page.pixel(ink.left() + 3, pictureBottom)) > 120)
        ++pictureBottom;
    QVERIFY2(pictureBottom - ink.top() > page.height() / 4,
             qPrintable(QString::number(pictureBottom)));
    QVERIFY(ink.bottom() > pictureBottom + 20);
    QVERIFY(qRed(page.pixel(ink.right() - 3, ink.top() + 5)) > 120);
#endif
}

// The window's own save, end to end: the planned axis typed for the picture and the
// guide line's misalignment from it are in the record of the saved file.
void TestPrintHelper::windowSavesItsReadings()
{
    const QString picture = m_dir.filePath(QStringLiteral("readings-eye.png"));
    const QString saved = m_dir.filePath(QStringLiteral("readings-saved.png"));
    QVERIFY(photoLikeImage().save(picture));
    orvalith::registerQmlTypes();
    QQmlApplicationEngine engine;
    engine.load(QUrl(QStringLiteral("qrc:/main.qml")));
    QVERIFY(!engine.rootObjects().isEmpty());
    QObject *window = engine.rootObjects().constFirst();
    PrintHelper helper;
    connect(window, SIGNAL(saveImageRequested(QVariant, QVariant)), &helper,
            SLOT(saveImage(QVariant, QVariant)));
    auto *page = window->findChild<QObject *>(QStringLiteral("mainPage"));
    QVERIFY(page);
    auto part = [page](const char *name) { return page->property(name).value<QObject *>(); };
    part("image")->setProperty("source", QUrl::fromLocalFile(picture));
    QTRY_COMPARE(part("image")->property("status").toInt(), 1); // ready
    part("lineVisibleSwitch")->setProperty("checked", true);
    part("lineRotationSlider")->setProperty("value", 178);
    part("document")->setProperty("plannedAxis", 2.0);

    DialogAnswerer answerer({chooseFile(saved)});
    QMetaObject::invokeMethod(window, "saveImage");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(saved), 20000);
    QCOMPARE(answerer.unexpected(), 0);
    const QString record = QImage(saved).text(QStringLiteral("Description"));
    QVERIFY2(
        record.contains(QStringLiteral("Planned axis\t2.0\t\u00b0\nMisalignment\t-4.0\t\u00b0")),
        qPrintable(record));
}

void TestPrintHelper::cleanupTestCase()
{
    if (QFileInfo::exists(QStringLiteral("/dev/full")))
        QVERIFY(isCharDevice(QStringLiteral("/dev/full"), 1, 7));
}

int main(int argc, char *argv[])
{
    const bool privateMounts = enterPrivateMountNamespace();
    QApplication application(argc, argv);
    orvalith::setApplicationIdentity();
    TestPrintHelper test(privateMounts);
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_printhelper.moc"
