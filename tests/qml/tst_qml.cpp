#include "app/appsetup.h"

#include <QCoreApplication>
#include <QQmlEngine>
#include <QTranslator>
#include <QtQuickTest>

// Gives the documents under test what the program gives them: the application's
// identity, the translation for the system locale and the native types.
class Setup : public QObject
{
    Q_OBJECT
public:
    // Made before the application object, as the program sets its drawing and
    // scaling: a test on a screen at 150 % sees the window at the program's scale.
    Setup() { orvalith::setRenderingOptions(); }

public slots:
    void applicationAvailable()
    {
        orvalith::setApplicationIdentity();
        if (!orvalith::loadSystemTranslation(m_translator))
            return;
        QCoreApplication::installTranslator(&m_translator);
        if (orvalith::loadToolkitTranslation(m_qtTranslator, m_translator.language()))
            QCoreApplication::installTranslator(&m_qtTranslator);
    }

    void qmlEngineAvailable(QQmlEngine *) { orvalith::registerQmlTypes(); }

private:
    QTranslator m_translator;
    QTranslator m_qtTranslator;
};

QUICK_TEST_MAIN_WITH_SETUP(orvalith, Setup)

#include "tst_qml.moc"
