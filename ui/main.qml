import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import QtQuick.Window 2.15
import QtQml.Models 2.15
import Qt.labs.platform 1.1 as Platform
import Orvalith 1.0

ApplicationWindow {
    id: applicationWindow
    visible: true
    width: windowPlacement.width(fittedWidth)
    height: windowPlacement.height(fittedHeight)
    minimumWidth: fittedWidth
    minimumHeight: fittedHeight

    // 1024 x 800 where the screen has room for it; on a smaller screen (a 1366 x 768
    // laptop) the part of it that panels, docks and the window's own frame leave
    // free, so that no part of the window is ever out of reach.
    readonly property int fittedWidth: Math.min(1024, Screen.desktopAvailableWidth - windowFrame.width)
    readonly property int fittedHeight: Math.min(800, Screen.desktopAvailableHeight - windowFrame.height)

    // The frame becomes known once the window is shown. The minimum goes first: a
    // size below the old minimum would be refused. The size and place of the last run
    // come back, within the screen.
    function fitToScreen() {
        minimumWidth = fittedWidth
        minimumHeight = fittedHeight
        width = windowPlacement.width(fittedWidth)
        height = windowPlacement.height(fittedHeight)
        windowPlacement.restorePosition()
    }

    WindowPlacement {
        id: windowPlacement
        window: applicationWindow
        frameWidth: windowFrame.width
        frameHeight: windowFrame.height
        frameLeft: windowFrame.left
        frameTop: windowFrame.top
        screenX: Screen.virtualX
        screenY: Screen.virtualY
        roomWidth: Screen.desktopAvailableWidth - windowFrame.width
        roomHeight: Screen.desktopAvailableHeight - windowFrame.height
    }

    // Once the placement has the same screen's values as well.
    onFittedWidthChanged: Qt.callLater(fitToScreen)
    onFittedHeightChanged: Qt.callLater(fitToScreen)

    // Only macOS always has a menu bar of its own that this toolkit version can
    // fill; on Windows the platform menu bar type makes nothing. On Linux a native
    // bar exists only under a desktop that runs a global menu service, which
    // cannot be seen from here and may come and go. Everywhere but macOS the
    // menus therefore go inside the window, where they are always visible.
    property bool nativeMenuBar: ["osx", "macos"].indexOf(Qt.platform.os) >= 0
    property url helpSiteUrl: "https://orvalith.app/help"

    // True from the moment a composite is requested until its capture has come
    // back; a second request meanwhile is refused.
    readonly property bool capturing: busyRectangle.visible

    // Both menu presentations are built from this one list; null is a separator.
    readonly property var menus: [{
            "title": qsTr("File"),
            "entries": [openImageAction, null, saveImageAction, printImageAction, null, quitAction]
        }, {
            "title": qsTr("Edit"),
            "entries": [editActions.undo, editActions.redo, null, pasteImageMenuAction, null,
                editActions.clearMeasures]
        }, {
            "title": qsTr("Measures"),
            "entries": [pickMeasuresColorAction, calibrateMeasuresAction, addMeasureAction,
                addAngleAction, fitCircleAction, removeLastMeasureAction, resetMeasuresAction]
        }, {
            "title": qsTr("View"),
            "entries": [toolbarMenuAction, null, zoomInAction, zoomOutAction, fitToWindowAction,
                actualPixelsAction]
        }, {
            "title": qsTr("Help"),
            "entries": [helpContentsAction, null, aboutAction]
        }]

    // record: {"title": the reference text, "text": what is stored with a saved picture}
    signal printImageRequested(var image, var record)
    signal saveImageRequested(var image, var record)

    function toolbarMenuActionText() {
        return mainPage.state === "toolbarHidden" ? qsTr("Show toolbar") : qsTr("Hide toolbar")
    }

    // The entry's text is bound to toolbarMenuActionText(), so it follows the state.
    // Not while a capture is pending: the drawing area would change size between
    // the request and the frame that is captured, and the composite would be
    // stretched.
    function toggleToolbar() {
        if (capturing)
            return
        mainPage.state = mainPage.state === "" ? "toolbarHidden" : ""
    }

    // A clipboard that has nothing to offer must not blank the picture on screen.
    // A paste waits for a pending capture, which is taken at the current
    // picture's size. The clipboard keeps its image: it can be pasted again.
    function pasteImage() {
        if (!pasteImageMenuAction.enabled || capturing)
            return
        var url = clipboard.imageUrl()
        if (url.toString() !== "")
            mainPage.openPicture(url)
    }

    function showCaptureLook() {
        mainPage.drawingRectangle.color = "transparent"
        mainPage.referenceLabel.visible = true
        mainPage.waterMark.visible = true
    }

    function showScreenLook() {
        busyRectangle.visible = false
        busyIndicator.running = false
        mainPage.drawingRectangle.color = "black"
        mainPage.showScreenOverlay()
        mainPage.referenceLabel.visible = false
        mainPage.waterMark.visible = false
    }

    // The composite is the drawing area at the picture's own width (its on-screen
    // width when there is no picture), taken when the scene is next rendered.
    function grabToImage(callback) {
        if (capturing)
            return
        busyRectangle.visible = true
        busyIndicator.running = true
        var drawing = mainPage.drawingRectangle
        var w = mainPage.image.sourceSize.width
        if (w === 0)
            w = drawing.width
        var h = w * drawing.height / drawing.width
        showCaptureLook()
        mainPage.showCaptureOverlay(w / drawing.width)
        var requested = drawing.grabToImage(function (result) {
            showScreenLook()
            deliverComposite(result, callback)
        }, Qt.size(w, h))
        if (!requested)
            showScreenLook()
    }

    // A grab past the graphics stack's largest texture comes back without an
    // image (and so without a URL); it must not be printed or saved as if it
    // were the composite.
    function deliverComposite(result, callback) {
        if (result.url.toString() === "") {
            showExportFailure()
            return
        }
        if (callback)
            callback(result)
    }

    function showExportFailure() {
        exportFailedLoader.active = true
        exportFailedLoader.item.open()
    }

    function showHelpUnavailable(address) {
        helpUnavailableLoader.active = true
        helpUnavailableLoader.item.address = address
        helpUnavailableLoader.item.open()
    }

    function showAbout() {
        aboutLoader.active = true
        aboutLoader.item.open()
    }

    // See MeasuresList.exportRecord; the title names a print job.
    function exportRecord() {
        var record = mainPage.measuresList.exportRecord(new Date())
        record.title = mainPage.referenceLabel.text
        return record
    }

    function printImage() {
        grabToImage(function (result) {
            printImageRequested(result.image, exportRecord())
        })
    }

    function saveImage() {
        grabToImage(function (result) {
            saveImageRequested(result.image, exportRecord())
        })
    }

    // "Open with" in a file manager starts the program with the picture's path as
    // its one argument (the toolkit has taken its own options out by then). The
    // picture is shown as a dropped one is; anything else is left alone.
    function openPictureArgument() {
        var args = Qt.application.arguments
        if (args.length !== 2)
            return
        var url = localFiles.existingFileUrl(args[1])
        if (url.toString() !== "")
            mainPage.openPicture(url)
    }

    Component.onCompleted: {
        windowPlacement.restorePosition()
        windowPlacement.restoreState()
        openPictureArgument()
    }

    LocalFiles {
        id: localFiles
    }

    // The objectNames let the tests find these objects in the window.
    Clipboard {
        id: clipboard
        objectName: "clipboard"
        onImageUrlChanged: pasteImageMenuAction.enabled = available
    }

    WindowFrame {
        id: windowFrame
        window: applicationWindow
    }

    UrlOpener {
        id: urlOpener
        onFailed: showHelpUnavailable(url)
    }

    MainPage {
        id: mainPage
        objectName: "mainPage"
        anchors.fill: parent
        printButton.onClicked: printImage()
        saveButton.onClicked: saveImage()
    }

    // The two dialogs are made when they are first shown, and kept from then on:
    // the window's first frame needs neither.
    Loader {
        id: aboutLoader
        active: false
        sourceComponent: Dialog {
            id: about
            objectName: "about"
            parent: applicationWindow.contentItem
            x: Math.round((parent.width - width) / 2)
            y: Math.round((parent.height - height) / 2)
            width: 640
            height: 480
            modal: true
            closePolicy: Popup.NoAutoClose
            standardButtons: Dialog.Close

            ColumnLayout {
                id: columnLayout
                anchors.fill: parent

                RowLayout {
                    id: rowLayout
                    spacing: 8
                    Layout.alignment: Qt.AlignHCenter | Qt.AlignVCenter

                    Image {
                        source: "img/icon.png"
                        fillMode: Image.PreserveAspectFit
                        Layout.alignment: Qt.AlignHCenter | Qt.AlignVCenter
                    }
                }

                RowLayout {
                    spacing: 8
                    Layout.alignment: Qt.AlignHCenter | Qt.AlignVCenter

                    Text {
                        text: Qt.application.name + " " + Qt.application.version
                        font.pointSize: 32
                        font.bold: true
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                        Layout.fillWidth: true
                    }
                }

                RowLayout {
                    spacing: 8
                    Layout.alignment: Qt.AlignHCenter | Qt.AlignVCenter

                    Text {
                        text: "Copyright © 2026 The Orvalith developers. All rights reserved."
                        font.pointSize: 14
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                        Layout.fillWidth: true
                        Layout.alignment: Qt.AlignHCenter | Qt.AlignTop
                    }
                }
            }
        }
    }

    Loader {
        id: exportFailedLoader
        active: false
        sourceComponent: Dialog {
            id: exportFailedDialog
            objectName: "exportFailedDialog"
            parent: applicationWindow.contentItem
            x: Math.round((parent.width - width) / 2)
            y: Math.round((parent.height - height) / 2)
            width: 480
            modal: true
            standardButtons: Dialog.Ok

            Label {
                width: exportFailedDialog.availableWidth
                wrapMode: Text.WordWrap
                text: qsTr("The picture is too large to be printed or saved at its full size.")
            }
        }
    }

    Loader {
        id: helpUnavailableLoader
        active: false
        sourceComponent: Dialog {
            id: helpUnavailableDialog
            objectName: "helpUnavailableDialog"
            property url address
            parent: applicationWindow.contentItem
            x: Math.round((parent.width - width) / 2)
            y: Math.round((parent.height - height) / 2)
            width: 480
            modal: true
            standardButtons: Dialog.Ok

            // Selectable, so that the address can be copied into a browser by hand.
            TextEdit {
                width: helpUnavailableDialog.availableWidth
                readOnly: true
                selectByMouse: true
                wrapMode: Text.Wrap
                textFormat: TextEdit.PlainText
                color: helpUnavailableDialog.palette.windowText
                font: helpUnavailableDialog.font
                text: qsTr("No web browser could be opened here; the help is at %1").arg(
                          helpUnavailableDialog.address)
            }
        }
    }

    // ---- Menu entries: each defined once, shown by whichever menu bar is in use ----

    EditActions {
        id: editActions
        page: mainPage
    }

    Action {
        id: openImageAction
        text: qsTr("Open Image")
        shortcut: StandardKey.Open
        onTriggered: mainPage.openImageDialogVisible = true
    }

    Action {
        id: saveImageAction
        text: qsTr("Save as")
        shortcut: StandardKey.Save
        enabled: !capturing
        onTriggered: saveImage()
    }

    Action {
        id: printImageAction
        text: qsTr("Print")
        shortcut: StandardKey.Print
        enabled: !capturing
        onTriggered: printImage()
    }

    Action {
        id: quitAction
        text: qsTr("Quit")
        onTriggered: Qt.quit()
    }

    // Not bound: set by every report of the clipboard, the first one at start.
    Action {
        id: pasteImageMenuAction
        text: qsTr("Paste image")
        shortcut: StandardKey.Paste
        onTriggered: pasteImage()
    }

    Action {
        id: pickMeasuresColorAction
        text: qsTr("Color")
        onTriggered: mainPage.pickMeasuresColor()
    }

    Action {
        id: calibrateMeasuresAction
        text: qsTr("Calibrate")
        // Neither this key nor Add measure's is a standard key anywhere.
        shortcut: "Ctrl+Shift+K"
        enabled: !mainPage.calibrating && !mainPage.calibrated
        onTriggered: mainPage.calibrateMeasures()
    }

    Action {
        id: addMeasureAction
        text: qsTr("Add")
        shortcut: "Ctrl+Shift+M"
        enabled: mainPage.calibrated && !mainPage.measuring
        onTriggered: mainPage.addMeasure()
    }

    Action {
        id: addAngleAction
        text: qsTr("Add angle")
        enabled: !mainPage.calibrating && !mainPage.measuring
        onTriggered: mainPage.addMeasure("angle")
    }

    Action {
        id: fitCircleAction
        text: qsTr("Fit circle")
        enabled: !mainPage.calibrating && !mainPage.measuring
        onTriggered: mainPage.fitCircle()
    }

    Action {
        id: removeLastMeasureAction
        text: qsTr("Remove Last")
        enabled: mainPage.hasMeasures
        onTriggered: mainPage.popMeasure()
    }

    Action {
        id: resetMeasuresAction
        text: qsTr("Reset")
        enabled: mainPage.calibrated || mainPage.calibrating
        onTriggered: mainPage.resetMeasures()
    }

    // About the pointer while it is over the picture, else about its middle.
    Action {
        id: zoomInAction
        text: qsTr("Zoom in")
        shortcut: StandardKey.ZoomIn
        enabled: mainPage.view.canZoomIn && !capturing
        onTriggered: mainPage.zoomIn()
    }

    Action {
        id: zoomOutAction
        text: qsTr("Zoom out")
        shortcut: StandardKey.ZoomOut
        enabled: !mainPage.view.fitted && !capturing
        onTriggered: mainPage.zoomOut()
    }

    Action {
        id: fitToWindowAction
        text: qsTr("Fit to window")
        shortcut: "Ctrl+0"
        enabled: !mainPage.view.fitted && !capturing
        onTriggered: mainPage.fitToWindow()
    }

    Action {
        id: actualPixelsAction
        text: qsTr("Actual pixels")
        shortcut: "Ctrl+1"
        enabled: mainPage.view.largestZoom > 1 && !capturing
        onTriggered: mainPage.actualPixels()
    }

    Action {
        id: toolbarMenuAction
        text: toolbarMenuActionText()
        onTriggered: toggleToolbar()
    }

    Action {
        id: helpContentsAction
        text: qsTr("Contents")
        shortcut: StandardKey.HelpContents
        onTriggered: urlOpener.open(helpSiteUrl)
    }

    Action {
        id: aboutAction
        text: qsTr("About Orvalith")
        onTriggered: showAbout()
    }

    // ---- Menu bars ------------------------------------------------------------------
    // The actions own the shortcuts: the native items carry none, since a key
    // registered twice is ambiguous and then fires neither.

    menuBar: Loader {
        active: !applicationWindow.nativeMenuBar
        sourceComponent: WindowMenuBar {
            menuList: applicationWindow.menus
        }
    }

    Instantiator {
        id: platformMenuBar
        objectName: "platformMenuBar"
        active: applicationWindow.nativeMenuBar
        delegate: Platform.MenuBar {
            id: nativeBar
            window: applicationWindow

            Instantiator {
                model: applicationWindow.menus
                delegate: Platform.Menu {
                    id: nativeMenu
                    title: modelData.title

                    Instantiator {
                        model: modelData.entries
                        delegate: Platform.MenuItem {
                            separator: !modelData
                            text: modelData ? modelData.text : ""
                            enabled: modelData ? modelData.enabled : true
                            onTriggered: modelData.trigger()
                        }
                        onObjectAdded: nativeMenu.insertItem(index, object)
                        onObjectRemoved: nativeMenu.removeItem(object)
                    }
                }
                onObjectAdded: nativeBar.insertMenu(index, object)
                onObjectRemoved: nativeBar.removeMenu(object)
            }
        }
    }

    Rectangle {
        id: busyRectangle
        objectName: "busyRectangle"
        anchors.fill: parent
        color: Qt.rgba(0, 0, 0, 0.85)
        visible: false

        MouseArea {
            anchors.fill: parent
        }

        // Off until a capture starts: a running indicator animates even while the
        // overlay is hidden, and the window would then redraw without end.
        BusyIndicator {
            id: busyIndicator
            objectName: "busyIndicator"
            anchors.centerIn: parent
            running: false
        }
    }
}
