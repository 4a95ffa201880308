import QtQuick 2.15
import QtQuick.Controls 2.15
import Orvalith 1.0

ApplicationWindow {
    id: applicationWindow
    visible: true
    width: 1024
    height: 800
    minimumWidth: 1024
    minimumHeight: 800

    signal printImageRequested(var image)
    signal saveImageRequested(var image)

    Clipboard {
        id: clipboard
    }

    MainPage {
        id: mainPage
        anchors.fill: parent
    }
}
