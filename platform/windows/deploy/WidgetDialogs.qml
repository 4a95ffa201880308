// Never loaded. QtQuick.Dialogs makes its widget-based file and colour dialogs
// from an import it writes at run time, out of sight of windeployqt's scan of
// the documents; naming that import here has it deployed too.
import QtQml 2.15
import QtQuick.PrivateWidgets 1.1

QtObject {}
