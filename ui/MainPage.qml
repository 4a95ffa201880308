import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Dialogs 1.3 as Dialogs
import Qt.labs.platform 1.1 as Platform
import Qt.labs.settings 1.0

MainPageForm {
    id: page

    readonly property real circleMargin: angleStepTextSize * 3 + angleStepTextRectPadding
                                         + angleStepTextRectPadding
    property real circleX: 0.5
    property real circleY: 0.5
    property int lastMouseOnCircleX: 0
    property int lastMouseOnCircleY: 0
    readonly property real angleStepTextSize: 9
    readonly property real angleStepTextRectPadding: 2
    readonly property string angleStepTextFont: angleStepTextSize + "pt arial"
    property int mouseAction: 0
    readonly property real itemSelectionAngleOffset: 1

    property alias openImageDialogVisible: openImageDialog.visible
    readonly property bool calibrated: measures.calibrated
    readonly property bool calibrating: measures.calibrating
    readonly property bool measuring: measures.measuring
    readonly property bool hasMeasures: measures.hasItems

    Settings {
        id: settings
        category: "MainPage"
        property bool angleStep10: true
        property url openImageDialogFolder: Platform.StandardPaths.writableLocation(
                                                Platform.StandardPaths.DocumentsLocation)
        property color angleStepTextColor: "yellow"
        property color compassColor: "cyan"
        property color lineColor: "magenta"
        property color mainColor: "white"
        property color measureColor: "red"
        property int circleWidth: 1
        property int lineWidth: 1
        property int compassWidth: 1
    }

    // ---- Start-up, page state and control wiring ------------------------------

    // ---- Image loading and fitting ---------------------------------------------

    Dialogs.FileDialog {
        id: openImageDialog
        title: qsTr("Pick an image")
        folder: settings.openImageDialogFolder
        nameFilters: ["Image files (*.jpg *.jpeg *.png)"]
        selectMultiple: false
    }

    // ---- Measures and calibration -----------------------------------------------

    QtObject {
        id: measures
        property bool calibrated: false
        property bool calibrating: false
        property var calibration: newCalibration()
        property real calibrationFactor: 0
        property bool measuring: false
        property var items: []
        property bool hasItems: false

        function newPoint(x, y) {
            return { "x": x, "y": y }
        }
        function unsetPoint() {
            return newPoint(-1, -1)
        }
        function newCalibration() {
            return { "start": unsetPoint(), "end": unsetPoint() }
        }
        function newItem() {
            return { "start": unsetPoint(), "end": unsetPoint(), "cachedLength": 0 }
        }
    }

    // ---- Overlay painting ---------------------------------------------------------

    // ---- Pointer interaction ------------------------------------------------------

    // ---- Colour dialogs -------------------------------------------------------------
}
