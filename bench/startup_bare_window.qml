import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import QtQuick.Dialogs 1.3
import Qt.labs.platform 1.1 as Platform
import Qt.labs.settings 1.0
import Orvalith 1.0

// The yardstick for the start-up benchmark: the main window's imports, size and
// export signals (the start-up wires them), nothing in it.
ApplicationWindow {
    visible: true
    width: 1024
    height: 800

    signal printImageRequested(var image)
    signal saveImageRequested(var image)
}
