#include "app/appsetup.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>
#include <QtTest>

// Runs once per system locale (see tests/CMakeLists.txt). The environment says
// which locale the run stands for and whether the Spanish catalogue should be
// installed for it; the catalogue is read from the program's own resource tree.

namespace {

struct Message
{
    const char *context;
    const char *source;
    const char *spanish;
};

// Every message of the catalogue, in the four contexts that use it.
const Message catalogue[] = {
    {"main", "About Orvalith", "Acerca de Orvalith"},
    {"main", "Add", "Añadir"},
    {"main", "Calibrate", "Calibrar"},
    {"main", "Color", "Color"},
    {"main", "Contents", "Contenidos"},
    {"main", "Edit", "Editar"},
    {"main", "File", "Fichero"},
    {"main", "Help", "Ayuda"},
    {"main", "Hide toolbar", "Ocultar barra de herramientas"},
    {"main", "Measures", "Medidas"},
    {"main", "Open Image", "Abrir Imagen"},
    {"main", "Paste image", "Pegar imagen"},
    {"main", "Print", "Imprimir"},
    {"main", "Quit", "Salir"},
    {"main", "Remove Last", "Borrar el último"},
    {"main", "Reset", "Reset"},
    {"main", "Save as", "Guardar como"},
    {"main", "Show toolbar", "Mostrar barra de herramientas"},
    {"main", "View", "Ver"},
    {"CalibrationBox", "Accept", "Aceptar"},
    {"CalibrationBox", "Calibration reference value", "Valor de referencia de calibración"},
    {"CalibrationBox", "Cancel", "Cancelar"},
    {"MeasuringSteps", "Click on the calibration ending point.",
     "Elija el punto final para la calibración."},
    {"MeasuringSteps", "Click on the calibration starting point.",
     "Elija el punto inicial para la calibración."},
    {"MeasuringSteps", "Click on the ending point.", "Elija el punto final."},
    {"MeasuringSteps", "Click on the starting point.", "Elija el punto inicial."},
    {"ColorDialogs", "Guide line color", "Color de linea de guia"},
    {"MainPage", "L.E.", "O.I."},
    {"ColorDialogs", "Line color", "Color de linea"},
    {"ColorDialogs", "Measures color", "Color de las medidas"},
    {"PictureOpening", "Pick an image", "Selecciona una imagen"},
    {"MainPage", "R.E.", "O.D."},
    {"ColorDialogs", "Sector color", "Color de sector"},
    {"ColorDialogs", "Text color", "Color de texto"},
    {"MainPageForm.ui", "10 degrees", "10 grados"},
    {"MainPageForm.ui", "5 degrees", "5 grados"},
    {"MainPageForm.ui", "Angle", "Ángulo"},
    {"MainPageForm.ui", "Color", "Color"},
    {"MainPageForm.ui", "Guide Line", "Linea guia"},
    {"MainPageForm.ui", "L.E.", "O.I."},
    {"MainPageForm.ui", "Left Eye", "Ojo izquierdo"},
    {"MainPageForm.ui", "Line Color", "Color de linea"},
    {"MainPageForm.ui", "Open Image", "Abrir imagen"},
    {"MainPageForm.ui", "Print", "Imprimir"},
    {"MainPageForm.ui", "Radius", "Radio"},
    {"MainPageForm.ui", "Reference", "Referencia"},
    {"MainPageForm.ui", "Right Eye", "Ojo derecho"},
    {"MainPageForm.ui", "Rotation", "Rotación"},
    {"MainPageForm.ui", "Save as", "Guardar como"},
    {"MainPageForm.ui", "Sector", "Sector"},
    {"MainPageForm.ui", "Text Color", "Color de texto"},
    {"MainPageForm.ui", "Width", "Ancho"},
    {"MeasurementDocument", "Move point", "Mover punto"},
    {"EditActions", "Undo %1", "Deshacer %1"},
    {"PrintHelper", "Images (*.png *.jpg)", "Imágenes (*.png *.jpg)"},
    {"PrintHelper", "Save File", "Guardar fichero"},
    {"PrintHelper", "There was an error saving the image.",
     "Se produjo un error guardando la imagen."},
    {"PrintHelper", "The file name does not end in a picture format such as .png or .jpg.",
     "El nombre del fichero no termina en un formato de imagen como .png o .jpg."},
    {"PrintHelper", "The name belongs to something that is not a file.",
     "El nombre pertenece a algo que no es un fichero."},
    {"PrintHelper", "Writing in that folder is not permitted, or its disk is read-only.",
     "No se permite escribir en esa carpeta, o su disco es de solo lectura."},
    {"PrintHelper", "The disk is full.", "El disco está lleno."},
    {"PrintHelper", "The folder does not exist.", "La carpeta no existe."},
};

const char *const contexts[] = {"main", "MainPage", "MainPageForm.ui", "PrintHelper"};

} // namespace

class TranslationTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void catalogueInstalledOnlyForSpanish();
    void everyMessageInItsContext_data();
    void everyMessageInItsContext();
    void emptyTextIsNeverTranslated();
    void toolkitCatalogueInTheProgramsLanguage();

private:
    QTranslator m_translator;
    bool m_loaded = false;
    bool m_spanish = false;
};

void TranslationTest::initTestCase()
{
    // Guards against a run that silently uses some other locale than intended.
    QCOMPARE(QLocale::system().name(), qEnvironmentVariable("ORVALITH_EXPECT_LOCALE"));
    m_spanish = qEnvironmentVariable("ORVALITH_EXPECT_CATALOGUE") == QLatin1String("es");
    m_loaded = orvalith::loadSystemTranslation(m_translator);
    if (m_loaded)
        QCoreApplication::installTranslator(&m_translator);
}

void TranslationTest::catalogueInstalledOnlyForSpanish()
{
    QCOMPARE(m_loaded, m_spanish);
    QCOMPARE(m_translator.isEmpty(), !m_spanish);
    if (m_spanish)
        QCOMPARE(m_translator.language(), QStringLiteral("es_ES"));
}

void TranslationTest::everyMessageInItsContext_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("spanish");
    for (const Message &m : catalogue) {
        const QByteArray name = QByteArray(m.context) + " / " + m.source;
        QTest::newRow(name.constData())
            << QString::fromLatin1(m.context) << QString::fromLatin1(m.source)
            << QString::fromUtf8(m.spanish);
    }
}

void TranslationTest::everyMessageInItsContext()
{
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, spanish);
    const QByteArray contextBytes = context.toLatin1();
    const QByteArray sourceBytes = source.toLatin1();
    const QString shown = QCoreApplication::translate(contextBytes, sourceBytes);
    QCOMPARE(shown, m_spanish ? spanish : source);
    // The catalogue itself holds the message, also where Spanish and English
    // read the same ("Color", "Reset", "Sector").
    QCOMPARE(m_translator.translate(contextBytes, sourceBytes).isNull(), !m_spanish);
}

void TranslationTest::emptyTextIsNeverTranslated()
{
    for (const char *context : contexts) {
        QVERIFY2(m_translator.translate(context, "").isNull(), context);
        QCOMPARE(QCoreApplication::translate(context, ""), QString());
    }
}

void TranslationTest::toolkitCatalogueInTheProgramsLanguage()
{
    if (!m_spanish)
        QSKIP("the program is in English here, and so are Qt's own texts");
    QTranslator toolkit;
    QVERIFY(orvalith::loadToolkitTranslation(toolkit, m_translator.language()));
    // The open dialog's own button, as a Spanish user sees it.
    QCOMPARE(toolkit.translate("QFileDialog", "&Open"), QStringLiteral("&Abrir"));
}

QTEST_GUILESS_MAIN(TranslationTest)
#include "tst_translation.moc"
