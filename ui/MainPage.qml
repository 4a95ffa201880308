import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Dialogs 1.3 as Dialogs
import QtQuick.Layouts 1.15
import Qt.labs.platform 1.1 as Platform
import Orvalith 1.0
import "halo.js" as Halo
import "lengths.js" as Lengths
import "overlay.js" as Overlay
import "pointer.js" as Pointer

MainPageForm {
    id: page

    readonly property real circleMargin: angleStepTextSize * 3 + angleStepTextRectPadding
                                         + angleStepTextRectPadding
    property real circleX: 0.5
    property real circleY: 0.5
    // Real, not whole pixels: the canvas often starts between two pixel rows, and a
    // rounded pointer would make a dragged circle creep by that fraction each step.
    property real lastMouseOnCircleX: 0
    property real lastMouseOnCircleY: 0
    readonly property real angleStepTextSize: 9
    readonly property real angleStepTextRectPadding: 2
    // Arial where it is installed (Windows); elsewhere its metric twin, then any sans
    // serif, so that the canvas never falls back to its own default size.
    readonly property string angleStepTextFont: angleStepTextSize
                                                + "pt arial, \"Liberation Sans\", sans-serif"
    property int mouseAction: 0
    readonly property real itemSelectionAngleOffset: 1
    // Also taken this many pixels across a line or an edge, whatever the angle.
    readonly property real itemSelectionDistance: 6

    property alias openImageDialogVisible: openImageDialog.visible
    readonly property bool calibrated: measures.calibrated
    readonly property bool calibrating: measures.calibrating
    readonly property bool measuring: measures.measuring
    readonly property bool hasMeasures: measures.hasItems
    property alias measuresList: measuresList
    // The overlay's colours at first start, and whenever a stored one would draw nothing.
    readonly property var defaultColors: ({
                                              "angleStepTextColor": "yellow",
                                              "compassColor": "cyan",
                                              "lineColor": "magenta",
                                              "mainColor": "white",
                                              "measureColor": "red"
                                          })

    StoredSettings {
        id: settings
        objectName: "settings"
        category: "MainPage"
        property bool angleStep10: true
        property url openImageDialogFolder: Platform.StandardPaths.writableLocation(
                                                Platform.StandardPaths.DocumentsLocation)
        property color angleStepTextColor: defaultColors.angleStepTextColor
        property color compassColor: defaultColors.compassColor
        property color lineColor: defaultColors.lineColor
        property color mainColor: defaultColors.mainColor
        property color measureColor: defaultColors.measureColor
        property int circleWidth: 1
        property int lineWidth: 1
        property int compassWidth: 1
        property bool magnifier: true
        // The unit of every length, typed beside the calibration's reference.
        property string lengthUnit: qsTr("mm")
    }

    // ---- Start-up, page state and control wiring ------------------------------

    states: [
        State {
            name: "toolbarHidden"
            PropertyChanges {
                target: scrollView
                anchors.rightMargin: -scrollView.width
            }
        }
    ]

    // The image area is anchored to the panel, so it follows every step of the slide.
    transitions: [
        Transition {
            NumberAnimation {
                target: scrollView
                property: "anchors.rightMargin"
                duration: 250
                easing.type: Easing.Linear
            }
        }
    ]

    Component.onCompleted: startUp()

    // Setting a control here runs its change handler when the value really changes;
    // those handlers store the same value back and ask for a repaint, which is harmless.
    function startUp() {
        settings.lengthUnit = Lengths.unitOf(settings.lengthUnit)
        repairStoredWidths()
        repairStoredColors()
        angleStep5RadioButton.checked = !settings.angleStep10
        angleStep10RadioButton.checked = settings.angleStep10
        showTextColor(settings.angleStepTextColor)
        circleRadiusSlider.from = 32
        circleWidthSpinBox.value = settings.circleWidth
        calculateCircleRadiusSliderTo()
        circleRadiusSlider.value = Math.min(circleRadiusSlider.to,
                                            Math.max(128, circleRadiusSlider.from))
        lineLabel.color = settings.lineColor
        lineWidthSpinBox.value = settings.lineWidth
        updateLineLabelText()
        compassLabel.color = settings.compassColor
        compassWidthSpinBox.value = settings.compassWidth
        updateCompassLabelText()
        updateDrawingRectangleSize()
        magnifierSwitch.checked = settings.magnifier
        canvas.requestPaint()
    }

    // A hand-edited or foreign settings file may hold any width. Colours and switches
    // that do not parse keep their defaults already (the settings object skips them);
    // widths that parse are brought to the nearest one the spin boxes offer, and stored.
    function repairStoredWidths() {
        settings.circleWidth = nearestValue(settings.circleWidth, circleWidthSpinBox)
        settings.lineWidth = nearestValue(settings.lineWidth, lineWidthSpinBox)
        settings.compassWidth = nearestValue(settings.compassWidth, compassWidthSpinBox)
    }

    // A stored colour that is invalid (it reads as fully transparent) would make its
    // part of the overlay invisible; so would a transparent one.
    function repairStoredColors() {
        for (var name in defaultColors) {
            if (settings[name].a === 0)
                settings[name] = defaultColors[name]
        }
    }

    function nearestValue(value, spinBox) {
        return Math.min(spinBox.to, Math.max(spinBox.from, Math.round(value)))
    }

    function showTextColor(color) {
        eyeLabel.color = color
        referenceLabel.color = color
        messageLabel.color = color
    }

    // Whole degrees print as they are; a value between whole degrees keeps one decimal,
    // with the user's decimal sign.
    function degreesText(value) {
        return value === Math.round(value) ? String(value)
                                           : value.toFixed(1).replace(".", Qt.locale().decimalPoint)
    }

    // Every text over the picture is outlined in the contrast to its own colour.
    eyeLabel.styleColor: Halo.haloColor(eyeLabel.color)
    referenceLabel.styleColor: Halo.haloColor(referenceLabel.color)
    messageLabel.styleColor: Halo.haloColor(messageLabel.color)
    lineLabel.styleColor: Halo.haloColor(lineLabel.color)
    compassLabel.styleColor: Halo.haloColor(compassLabel.color)

    function updateLineLabelText() {
        lineLabel.text = "\u2205 " + degreesText(lineRotationSlider.value) + "\u00ba"
    }

    // First edge, second edge, and the opening folded to at most 180 degrees.
    function updateCompassLabelText() {
        var rotation = compassRotationSlider.value
        var angle = compassAngleSlider.value
        compassLabel.text = "< %1\u00ba %2\u00ba (%3\u00ba)".arg(degreesText(rotation % 360)).arg(
                    degreesText((rotation + angle) % 360)).arg(
                    degreesText(angle <= 180 ? angle : 360 - angle))
    }

    openImageButton.onClicked: openImageDialog.open()
    circleRadiusSlider.onValueChanged: canvas.requestPaint()

    circleWidthSpinBox.onValueChanged: {
        settings.circleWidth = circleWidthSpinBox.value
        canvas.requestPaint()
    }

    // The two degree-step buttons are exclusive: choosing 5 unchecks 10 and lands here.
    angleStep10RadioButton.onCheckedChanged: {
        settings.angleStep10 = angleStep10RadioButton.checked
        canvas.requestPaint()
    }

    mainColorButton.onClicked: openColorDialog(mainColorDialog, settings.mainColor)
    angleStepTextColorButton.onClicked: openColorDialog(angleStepTextColorDialog,
                                                        settings.angleStepTextColor)

    lineVisibleSwitch.onCheckedChanged: {
        var shown = lineVisibleSwitch.checked
        lineLabel.visible = shown
        lineRotationSlider.enabled = shown
        lineWidthSpinBox.enabled = shown
        lineColorButton.enabled = shown
        canvas.requestPaint()
    }

    lineRotationSlider.onValueChanged: {
        updateLineLabelText()
        canvas.requestPaint()
    }

    lineWidthSpinBox.onValueChanged: {
        settings.lineWidth = lineWidthSpinBox.value
        canvas.requestPaint()
    }

    lineColorButton.onClicked: openColorDialog(lineColorDialog, lineLabel.color)

    compassVisibleSwitch.onCheckedChanged: {
        var shown = compassVisibleSwitch.checked
        compassLabel.visible = shown
        compassAngleSlider.enabled = shown
        compassRotationSlider.enabled = shown
        compassWidthSpinBox.enabled = shown
        compassColorButton.enabled = shown
        canvas.requestPaint()
    }

    compassRotationSlider.onValueChanged: {
        updateCompassLabelText()
        canvas.requestPaint()
    }

    compassAngleSlider.onValueChanged: {
        updateCompassLabelText()
        canvas.requestPaint()
    }

    compassWidthSpinBox.onValueChanged: {
        settings.compassWidth = compassWidthSpinBox.value
        canvas.requestPaint()
    }

    compassColorButton.onClicked: openColorDialog(compassColorDialog, compassLabel.color)

    // The reference text shows only in the exported picture (the label stays hidden).
    referenceTextField.onTextChanged: referenceLabel.text = referenceTextField.text

    rightEyeRadioButton.onCheckedChanged: eyeLabel.text = rightEyeRadioButton.checked
                                          ? qsTr("R.E.") : qsTr("L.E.")

    // The circle must keep fitting whatever resizes the drawing area: the window, a
    // new picture of other proportions, the sliding tool panel.
    drawingRectangle.onWidthChanged: calculateCircleRadiusSliderTo()
    drawingRectangle.onHeightChanged: calculateCircleRadiusSliderTo()
    containerRectangle.onWidthChanged: updateDrawingRectangleSize()
    containerRectangle.onHeightChanged: updateDrawingRectangleSize()
    onWidthChanged: pageResized()
    onHeightChanged: pageResized()

    // Only a change of the page's own size moves the radius range; the sliding tool
    // panel resizes the image area alone and leaves the range and the popup be.
    function pageResized() {
        if (calibrationPopup.visible)
            calibrationPopup.close()
        calculateCircleRadiusSliderTo()
        canvas.requestPaint()
    }

    // ---- Image loading and fitting ---------------------------------------------

    // Phone and camera photos carry their orientation in EXIF: show them upright, so
    // that nothing is measured on its side; sourceSize is then the upright size too.
    image.autoTransform: true
    image.onSourceSizeChanged: updateDrawingRectangleSize()
    image.onStatusChanged: {
        if (image.status === Image.Ready) {
            startMeasuresForPicture(image.source)
            noteComposite()
            pictureLoading.lastShownSource = image.source
            if (!pictureLoading.restoring)
                loadErrorPopup.close()
            pictureLoading.restoring = false
        } else if (image.status === Image.Error) {
            // Not from inside the image's own notification: the source changes again.
            Qt.callLater(refuseUnreadablePicture)
        }
    }

    // A file that cannot be decoded leaves no trace: the picture shown before it (with
    // everything placed over it) comes back, or none if there was none, and the user is
    // told why. The previous picture may itself have gone meanwhile; then none is shown.
    function refuseUnreadablePicture() {
        if (image.status !== Image.Error)
            return
        var failed = image.source.toString()
        var previous = pictureLoading.lastShownSource.toString()
        pictureLoading.lastShownSource = ""
        loadErrorPopup.open()
        pictureLoading.restoring = previous !== "" && failed !== previous
        image.source = pictureLoading.restoring ? previous : ""
    }

    CompositeMark {
        id: compositeMark
    }

    // A composite saved here has its overlay in its pixels: measuring over it would
    // measure the old lines.
    function noteComposite() {
        if (compositeMark.carriesOverlay(pictureIntake.shownFile))
            messageLabel.text = qsTr("This picture is a saved composite: it already carries an overlay. Measure on the original photo, which holds the measures.")
    }

    QtObject {
        id: pictureLoading
        property url lastShownSource: ""
        property bool restoring: false // the message stays while the old picture returns
    }

    // Every way in (open dialog, drop, paste, a file named at start) comes here.
    function openPicture(source) {
        pictureIntake.open(source)
    }

    PictureIntakeView {
        id: pictureIntake
        anchors.fill: containerRectangle
        target: image
        onRefused: {
            loadErrorPopup.tooLarge = tooLarge
            loadErrorPopup.largestSide = largestSide
            loadErrorPopup.largestMegapixels = largestMegapixels
            loadErrorPopup.open()
        }
    }

    Popup {
        id: loadErrorPopup
        objectName: "loadErrorPopup"
        parent: containerRectangle
        x: Math.round((containerRectangle.width - width) / 2)
        y: 16
        width: Math.min(implicitWidth, containerRectangle.width - 32)
        padding: 12
        closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
        property bool tooLarge: false
        property int largestSide: 0
        property int largestMegapixels: 0

        onAboutToShow: loadErrorMessage.active = true
        onClosed: tooLarge = false

        // Made when the message is first shown: most runs never need it.
        contentItem: Loader {
            id: loadErrorMessage
            active: false
            sourceComponent: Label {
                objectName: "loadErrorLabel"
                text: loadErrorPopup.tooLarge
                      ? qsTr("The picture is too large: it may be at most %1 pixels wide and high, and %2 megapixels in all.")
                        .arg(loadErrorPopup.largestSide).arg(loadErrorPopup.largestMegapixels)
                      : qsTr("The picture could not be opened; choose another JPEG or PNG file.")
                wrapMode: Text.WordWrap
                font.bold: true
            }
        }
    }

    // The remembered folder may have been moved or deleted since it was stored, or the
    // stored value may not be a folder at all: the dialog then opens in Documents.
    DialogFolders {
        id: dialogFolders
        objectName: "dialogFolders"
    }

    function openImageDialogStartFolder() {
        return dialogFolders.startFolder(settings.openImageDialogFolder,
                                         Platform.StandardPaths.writableLocation(
                                             Platform.StandardPaths.DocumentsLocation))
    }

    Dialogs.FileDialog {
        id: openImageDialog
        objectName: "openImageDialog"
        title: qsTr("Pick an image")
        folder: openImageDialogStartFolder()
        nameFilters: ["Image files (*.jpg *.jpeg *.png)"]
        selectMultiple: false
        // The widget dialog is made inside the request to show it and ignores a folder
        // set before that. The change of visible is announced within that same request,
        // before the dialog is first drawn, so the folder handed over here (checked
        // afresh, in case it went meanwhile) is the one it opens in.
        onVisibleChanged: if (visible) folder = openImageDialogStartFolder()
        onAccepted: acceptChosenImage(openImageDialog.fileUrl)
        onRejected: openImageDialog.visible = false
    }

    // The folder remembered is the chosen file's own: the one the user picked it in.
    function acceptChosenImage(fileUrl) {
        var chosen = fileUrl.toString()
        settings.openImageDialogFolder = chosen !== ""
                ? dialogFolders.folderOfFile(chosen) : openImageDialog.folder
        if (chosen !== "")
            openPicture(fileUrl)
        openImageDialog.visible = false
    }

    // Covers the whole page, tool panel included; it takes no clicks, only drags.
    DropArea {
        id: imageDropArea
        objectName: "imageDropArea"
        anchors.fill: parent
        onEntered: drag.accepted = isImageDrag(drag)
        onDropped: dropImage(drop)
    }

    // Only the first URL is looked at: its last "."-separated piece must name a JPEG or
    // PNG file. Every other drag is refused, and no drop comes from it.
    function isImageDrag(drag) {
        if (!drag.hasUrls || drag.urls.length === 0)
            return false
        var suffix = drag.urls[0].toString().split(".").pop().toLowerCase()
        return ["jpg", "jpeg", "png"].indexOf(suffix) >= 0
    }

    function dropImage(drop) {
        if (drop.proposedAction !== Qt.CopyAction) {
            drop.accepted = false
            return
        }
        openPicture(drop.urls[0])
        drop.acceptProposedAction()
    }

    function updateDrawingRectangleSize() {
        if (image.sourceSize.width === 0) {
            drawingRectangle.width = containerRectangle.width
            drawingRectangle.height = containerRectangle.height
            return
        }
        var fitted = fitRectIntoBounds(image.sourceSize, {
                                           "width": containerRectangle.width,
                                           "height": containerRectangle.height
                                       })
        drawingRectangle.width = fitted.width
        drawingRectangle.height = fitted.height
    }

    // The largest size of rect's proportions inside bounds; small pictures are enlarged.
    function fitRectIntoBounds(rect, bounds) {
        var rectRatio = rect.width / rect.height
        var boundsRatio = bounds.width / bounds.height
        if (rectRatio > boundsRatio)
            return { "width": bounds.width, "height": rect.height * (bounds.width / rect.width) }
        return { "width": rect.width * (bounds.height / rect.height), "height": bounds.height }
    }

    // From the circle's centre to the nearest canvas edge, in canvas pixels.
    function minDistanceToBorder() {
        var x = canvas.width * circleX
        var y = canvas.height * circleY
        return Math.min(x, canvas.width - x, y, canvas.height - y)
    }

    // Leaves room for the degree numbers outside the circle, never below the slider's
    // lower bound. A lower end pulls the radius down with it (the slider clamps).
    function calculateCircleRadiusSliderTo() {
        circleRadiusSlider.to = Math.max(circleRadiusSlider.from,
                                         minDistanceToBorder() - circleMargin)
    }

    // ---- Measures and calibration -----------------------------------------------

    Measures {
        id: measures
        objectName: "measures"
        pictureSize: image.sourceSize.width > 0 ? image.sourceSize
                                                : Qt.size(drawingRectangle.width,
                                                          drawingRectangle.height)
        onPointPlaced: showPointPlaced(which)
    }

    // A point just placed can be nudged, but not the calibration's end: the popup then
    // takes the keys, and the factor is fixed once it is accepted.
    function showPointPlaced(which) {
        var item = measures.items[measures.items.length - 1]
        if (which === "calibrationStart") {
            messageLabel.text = qsTr("Click on the calibration ending point.")
            nudging.takePoint(measures.calibration.start, null, measures.calibration.end)
        } else if (which === "calibrationEnd") {
            messageLabel.text = ""
            endNudging()
            calibrationPopup.open()
        } else if (which === "measureStart") {
            messageLabel.text = qsTr("Click on the ending point.")
            nudging.takePoint(item.start, item, item.end)
        } else {
            messageLabel.text = ""
            nudging.takePoint(item.end, item, item.start)
        }
    }

    function resetMeasures() {
        measures.reset()
        endNudging()
        messageLabel.text = ""
        canvas.requestPaint()
    }

    // Measures and their calibration belong to the picture they were taken on: another
    // patient's photo must not inherit them. A picture shown again (the one restored
    // after a file that could not be read) keeps its own.
    function startMeasuresForPicture(source) {
        var picture = source.toString()
        if (picture === measures.picture)
            return
        measures.picture = picture
        if (!measures.calibrated && !measures.calibrating && !measures.hasItems)
            return
        if (calibrationPopup.visible)
            calibrationPopup.close()
        resetMeasures()
        messageLabel.text = qsTr("The measures and the calibration were cleared for the new picture.")
    }

    // Starts over: every earlier measure goes with the old calibration.
    function calibrateMeasures() {
        resetMeasures()
        measures.calibrating = true
        messageLabel.text = qsTr("Click on the calibration starting point.")
    }

    // Nothing new is drawn before the first click, so no repaint is asked for.
    function addMeasure() {
        if (!measures.calibrated || measures.measuring)
            return
        measures.addItem()
        messageLabel.text = qsTr("Click on the starting point.")
    }

    function popMeasure() {
        measures.popItem()
        endNudging()
        messageLabel.text = ""
        canvas.requestPaint()
    }

    function pickMeasuresColor() {
        openColorDialog(measureColorDialog, settings.measureColor)
    }

    // The list closes the tool panel's column.
    MeasuresList {
        id: measuresList
        objectName: "measuresList"
        parent: toolsColumnLayout
        Layout.topMargin: 24
        Layout.fillWidth: true
        measures: measures
        unit: settings.lengthUnit
        lineVisible: lineVisibleSwitch.checked
        lineRotation: lineRotationSlider.value
        sectorVisible: compassVisibleSwitch.checked
        sectorRotation: compassRotationSlider.value
        sectorAngle: compassAngleSlider.value
        picture: pictureIntake.shownFile
        referenceText: referenceTextField.text
        eye: eyeLabel.text
    }

    // Two points coinciding give no factor: Accept then closes without "ok" and resets.
    // The unit, when given, is kept for the next calibration and the next run.
    function acceptCalibration(reference, unit) {
        if (unit !== undefined)
            settings.lengthUnit = Lengths.unitOf(unit)
        measures.calibrating = false
        if (measures.calibrate(reference))
            calibrationPopup.ok = true
        calibrationPopup.close()
    }

    // Whatever closed the popup (Accept, Cancel, Escape, a press outside the page, a
    // resize of the page), only an accepted calibration survives.
    function finishCalibration() {
        if (!calibrationPopup.ok) {
            resetMeasures()
            return
        }
        measures.calibrating = false
        measures.calibrated = true
        canvas.requestPaint()
    }

    Popup {
        id: calibrationPopup
        objectName: "calibrationPopup"
        property bool ok: false
        readonly property real centreX: (page.width - width) / 2
        readonly property real centreY: (page.height - height) / 2

        parent: page
        width: 320
        height: 240
        modal: true
        focus: true
        leftPadding: 16
        rightPadding: 16
        closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutsideParent

        // Rises from below the page's bottom edge to its centre, and sinks back.
        enter: Transition {
            NumberAnimation {
                property: "x"
                from: calibrationPopup.centreX
                to: calibrationPopup.centreX
                duration: 250
                easing.type: Easing.Linear
            }
            NumberAnimation {
                property: "y"
                from: page.height
                to: calibrationPopup.centreY
                duration: 250
                easing.type: Easing.Linear
            }
        }
        exit: Transition {
            NumberAnimation {
                property: "x"
                from: calibrationPopup.centreX
                to: calibrationPopup.centreX
                duration: 250
                easing.type: Easing.Linear
            }
            NumberAnimation {
                property: "y"
                from: calibrationPopup.centreY
                to: page.height
                duration: 250
                easing.type: Easing.Linear
            }
        }

        onAboutToShow: {
            ok = false
            calibrationContents.active = true
        }
        onClosed: finishCalibration()

        // Made when the popup is first shown and kept from then on, so that the
        // reference typed in one calibration is offered again in the next.
        Loader {
            id: calibrationContents
            anchors.fill: parent
            active: false
            sourceComponent: ColumnLayout {
                Label {
                    text: qsTr("Calibration reference value")
                    font.bold: true
                    font.pixelSize: 18
                    fontSizeMode: Text.Fit
                    minimumPixelSize: 12
                    wrapMode: Text.WordWrap
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                }

                RowLayout {
                    Layout.alignment: Qt.AlignHCenter

                    // Keeps its text from one calibration to the next. Text that is not a
                    // reference length shows in red, with the range, and cannot be accepted.
                    TextField {
                        id: referenceField
                        objectName: "referenceField"
                        readonly property real value: Lengths.parseReference(text)
                        readonly property bool acceptable: !isNaN(value)
                        text: "1"
                        color: acceptable ? palette.text : "red"
                        selectByMouse: true
                        inputMethodHints: Qt.ImhFormattedNumbersOnly
                        horizontalAlignment: TextInput.AlignHCenter
                        Layout.preferredWidth: 120
                        onAccepted: if (acceptable) acceptCalibration(value, unitField.text)
                    }

                    TextField {
                        id: unitField
                        objectName: "unitField"
                        text: settings.lengthUnit
                        maximumLength: Lengths.longestUnit
                        placeholderText: qsTr("unit")
                        selectByMouse: true
                        Layout.preferredWidth: 64
                        onAccepted: if (referenceField.acceptable)
                                        acceptCalibration(referenceField.value, unitField.text)
                    }
                }

                Label {
                    objectName: "referenceRangeLabel"
                    text: qsTr("Type a number from %1 to %2.").arg(
                              Lengths.referenceRangeTexts(Qt.locale())[0]).arg(
                              Lengths.referenceRangeTexts(Qt.locale())[1])
                    color: "red"
                    opacity: referenceField.acceptable ? 0 : 1
                    horizontalAlignment: Text.AlignHCenter
                    Layout.fillWidth: true
                }

                RowLayout {
                    Layout.fillWidth: true

                    Button {
                        objectName: "cancelButton"
                        text: qsTr("Cancel")
                        Layout.fillWidth: true
                        onClicked: calibrationPopup.close()
                    }

                    Button {
                        id: acceptButton
                        objectName: "acceptButton"
                        text: qsTr("Accept")
                        Layout.fillWidth: true
                        enabled: referenceField.acceptable
                        onClicked: acceptCalibration(referenceField.value, unitField.text)
                    }
                }
            }
        }
    }

    // ---- Overlay painting ---------------------------------------------------------

    // The overlay is redrawn whole from the page's state at every paint; nothing is
    // kept between runs. Requests made before the next frame share one run.
    canvas.onPaint: paintOverlay()

    // Drawn into an image on this thread, right after the paint handler and before the
    // frame is put together: a capture of the drawing area (the export) always holds
    // the overlay as last requested, and the screen never lags a frame behind the
    // pointer. Drawing on a thread of its own left captures one paint behind, and
    // framebuffer targets were three times slower to draw under software GL.
    canvas.renderStrategy: Canvas.Immediate
    canvas.renderTarget: Canvas.Image

    exportOverlay.onPaint: exportOverlay.paintScaled(overlayValues())

    // For a capture at factor times the on-screen size, the overlay is drawn at that
    // resolution in place of the on-screen one, whose drawing is left as it is. An
    // overlay hidden on screen stays out of the capture too.
    function showCaptureOverlay(factor) {
        picturePreview.capturing = true
        if (!canvas.visible)
            return
        canvas.visible = false
        exportOverlay.show(factor, Qt.size(canvas.width, canvas.height))
    }

    function showScreenOverlay() {
        picturePreview.capturing = false
        if (!exportOverlay.visible)
            return
        exportOverlay.hide()
        canvas.visible = true
    }

    // Every repaint request comes to the canvas, whose layers repaint what changed; the
    // canvas itself only clears its single pixel (and so still tells it has painted).
    function paintOverlay() {
        canvas.getContext("2d").reset()
        overlayLayers.paint(overlayValues())
    }

    canvas.canvasSize: Qt.size(1, 1)
    canvas.canvasWindow: Qt.rect(0, 0, 1, 1)

    OverlayLayers {
        id: overlayLayers
        parent: canvas
    }

    // reach: every ray and line runs this far from its start, which lies beyond any
    // edge of the canvas; the canvas clips the rest.
    function overlayValues() {
        var w = canvas.width
        var h = canvas.height
        return {
            "w": w,
            "h": h,
            "cx": circleX * w,
            "cy": circleY * h,
            "r": circleRadiusSlider.value,
            "border": minDistanceToBorder(),
            "reach": w * w + h * h,
            "font": angleStepTextFont,
            "textSize": angleStepTextSize,
            "textPadding": angleStepTextRectPadding,
            "textColor": settings.angleStepTextColor,
            "mainColor": settings.mainColor,
            "circleWidth": circleWidthSpinBox.value,
            "angleStep10": settings.angleStep10,
            "line": {
                "visible": lineVisibleSwitch.checked,
                "rotation": lineRotationSlider.value,
                "color": lineLabel.color,
                "width": lineWidthSpinBox.value
            },
            "sector": {
                "visible": compassVisibleSwitch.checked,
                "rotation": compassRotationSlider.value,
                "angle": compassAngleSlider.value,
                "color": compassLabel.color,
                "width": compassWidthSpinBox.value
            },
            "measureColor": settings.measureColor,
            "calibrating": measures.calibrating,
            "calibration": measures.calibration,
            "items": measures.items,
            "pointer": { "x": canvasMouseArea.mouseX, "y": canvasMouseArea.mouseY },
            "haloColor": Halo.haloColor(settings.angleStepTextColor),
            "haloWidth": Halo.canvasWidth,
            "decimalPoint": Qt.locale().decimalPoint,
            "unit": settings.lengthUnit
        }
    }

    // ---- Pointer interaction ------------------------------------------------------

    // mouseAction holds what a drag has taken: 0 nothing, 1 the guide line, 2 the
    // sector's rotation edge, 3 its angle edge, 4 the circle. Only a move with no
    // button held ends it, so a new press before moving continues the old drag.
    canvasMouseArea.onPositionChanged: {
        handlePointerMove()
        nudging.moved = false
        updateMagnifier()
    }
    canvasMouseArea.onReleased: updateMagnifier()
    canvasMouseArea.onContainsMouseChanged: updateMagnifier()
    canvasMouseArea.onClicked: handleCanvasClick(mouse)
    canvasMouseArea.onWheel: handleWheel(wheel)

    function pointerGeometry(x, y) {
        return Pointer.geometry(x, y, circleX * canvas.width, circleY * canvas.height)
    }

    function isOnGuideLine(p) {
        return lineVisibleSwitch.checked && Pointer.isOnLine(p, lineRotationSlider.value,
                                                             itemSelectionAngleOffset,
                                                             itemSelectionDistance)
    }

    function isOnRotationEdge(p) {
        return compassVisibleSwitch.checked && Pointer.isOnRay(p, compassRotationSlider.value,
                                                               itemSelectionAngleOffset,
                                                               itemSelectionDistance)
    }

    function isOnAngleEdge(p) {
        var edge = (compassRotationSlider.value + compassAngleSlider.value) % 360
        return compassVisibleSwitch.checked && Pointer.isOnRay(p, edge, itemSelectionAngleOffset,
                                                               itemSelectionDistance)
    }

    function isInCircle(p) {
        return Pointer.isInCircle(p, circleRadiusSlider.value)
    }

    // The left column and top row are ignored: a pointer leaving the canvas there
    // reports a last position of 0.
    function handlePointerMove() {
        var x = canvasMouseArea.mouseX
        var y = canvasMouseArea.mouseY
        if (x === 0 || y === 0)
            return
        if (measures.calibrating || measures.measuring) {
            canvas.requestPaint() // the segment being placed follows the pointer
            return
        }
        var p = pointerGeometry(x, y)
        if (canvasMouseArea.pressed)
            dragOverlay(p, x, y)
        else
            hoverOverlay(p)
    }

    function hoverOverlay(p) {
        mouseAction = 0
        var over = isOnGuideLine(p) || isOnRotationEdge(p) || isOnAngleEdge(p) || isInCircle(p)
        canvasMouseArea.cursorShape = over ? Qt.PointingHandCursor : Qt.ArrowCursor
    }

    // Where several items lie under the pointer, the first in this order is taken.
    function dragOverlay(p, x, y) {
        if (dragGuideLine(p) || dragRotationEdge(p) || dragAngleEdge(p))
            return
        dragCircle(p, x, y)
    }

    // True when the drag holds the item of this mode, taking it when it is free and hit.
    function takeItem(mode, hit) {
        if (mouseAction === 0 && hit) {
            mouseAction = mode
            canvasMouseArea.cursorShape = Qt.PointingHandCursor
            nudging.takeEdge(mode)
        }
        return mouseAction === mode
    }

    function dragGuideLine(p) {
        if (!lineVisibleSwitch.checked || !takeItem(1, isOnGuideLine(p)))
            return false
        lineRotationSlider.value = Math.round(p.betadeg)
        canvas.requestPaint()
        return true
    }

    // The angle keeps its value, so the whole sector turns with this edge.
    function dragRotationEdge(p) {
        if (!compassVisibleSwitch.checked || !takeItem(2, isOnRotationEdge(p)))
            return false
        compassRotationSlider.value = Math.round(p.gammadeg)
        canvas.requestPaint()
        return true
    }

    // The rotation edge stays put; the sector opens counter-clockwise from it.
    function dragAngleEdge(p) {
        if (!compassVisibleSwitch.checked || !takeItem(3, isOnAngleEdge(p)))
            return false
        var rotation = compassRotationSlider.value
        var v = Math.round(p.gammadeg)
        compassAngleSlider.value = v >= rotation ? v - rotation : v + (360 - rotation)
        canvas.requestPaint()
        return true
    }

    // Keeps a centre coordinate far enough from both edges; where the canvas is too
    // small for both, the far edge wins.
    function limitCentre(value, limit, size) {
        return Math.min(Math.max(value, limit), size - limit)
    }

    // The circle moves by the pointer's movement since the previous step, so it does
    // not jump to the pointer when taken.
    function dragCircle(p, x, y) {
        if (mouseAction !== 4) {
            if (!isInCircle(p))
                return
            mouseAction = 4
            canvasMouseArea.cursorShape = Qt.PointingHandCursor
            endNudging()
            lastMouseOnCircleX = x
            lastMouseOnCircleY = y
        }
        var limit = circleRadiusSlider.value + circleMargin
        var cx = limitCentre(p.cx + x - lastMouseOnCircleX, limit, canvas.width)
        var cy = limitCentre(p.cy + y - lastMouseOnCircleY, limit, canvas.height)
        circleX = cx / canvas.width
        circleY = cy / canvas.height
        lastMouseOnCircleX = x
        lastMouseOnCircleY = y
        calculateCircleRadiusSliderTo()
        canvas.requestPaint()
    }

    // Clicks place calibration and measure points; at any other time they only end
    // nudging, unless the click is the release that ends a drag of the line or an edge.
    function handleCanvasClick(mouse) {
        if (!measures.calibrating && !measures.measuring) {
            if (mouseAction < 1 || mouseAction > 3)
                endNudging()
            return
        }
        if (measures.placePoint(mouse.x / canvas.width, mouse.y / canvas.height))
            canvas.requestPaint()
        updateMagnifier()
    }

    // ---- Nudging by arrow keys ----------------------------------------------------

    Nudging {
        id: nudging
        measures: measures
        lineSlider: lineRotationSlider
        rotationSlider: compassRotationSlider
        angleSlider: compassAngleSlider
        onStepped: {
            canvas.requestPaint()
            updateMagnifier()
        }
    }

    // The keys reach the page once the canvas was pressed; arrows that a control of
    // the panel passes on (a text field's Up and Down) are not the page's.
    canvasMouseArea.onPressed: page.forceActiveFocus()
    Keys.onPressed: if (page.activeFocus && (nudging.handleKey(event.key, event.modifiers)
                                             || zoomMagnifier(event.key)))
                        event.accepted = true

    // + and - while the magnifier shows; "=" is + without Shift on many keyboards.
    function zoomMagnifier(key) {
        if (!magnifier.visible)
            return false
        if (key === Qt.Key_Plus || key === Qt.Key_Equal)
            magnifier.zoomIn()
        else if (key === Qt.Key_Minus)
            magnifier.zoomOut()
        else
            return false
        return true
    }
    Keys.onEscapePressed: {
        event.accepted = nudging.active
        endNudging()
    }

    // The next click, Escape, or taking anything else ends nudging.
    function endNudging() {
        nudging.end()
        updateMagnifier()
    }

    // One notch (120) away from the user enlarges the circle by 2 pixels; only with no
    // modifier held, with the pointer in the circle, and not while placing points.
    function handleWheel(wheel) {
        if (measures.calibrating || measures.measuring || wheel.modifiers !== Qt.NoModifier)
            return
        if (wheel.x === 0 || wheel.y === 0 || !isInCircle(pointerGeometry(wheel.x, wheel.y)))
            return
        circleRadiusSlider.value = circleRadiusSlider.value + 2 * wheel.angleDelta.y / 120
        canvas.requestPaint()
    }

    // ---- Magnifier -------------------------------------------------------------------

    Loupe {
        id: magnifier
        objectName: "magnifier"
        z: 10
        visible: false
        source: image.source
        pictureSize: image.sourceSize
        screenScale: image.sourceSize.width > 0 ? canvas.width / image.sourceSize.width : 1
        segmentColor: settings.measureColor
    }

    magnifierSwitch.onCheckedChanged: {
        settings.magnifier = magnifierSwitch.checked
        updateMagnifier()
    }

    // Shown while a point is being placed or nudged and while the guide line or a
    // sector edge is dragged; beside the pointer, inside the page.
    function updateMagnifier() {
        var focus = magnifierFocus()
        magnifier.visible = settings.magnifier && image.status === Image.Ready && focus !== null
        if (!magnifier.visible)
            return
        var toPicture = function (p) {
            return Qt.point(p.x / canvas.width * image.sourceSize.width,
                            p.y / canvas.height * image.sourceSize.height)
        }
        magnifier.focusPoint = toPicture(focus.point)
        magnifier.segmentEnd = focus.other ? toPicture(focus.other) : null
        magnifier.guide = focus.guide ? { "through": toPicture(focus.guide.through),
                                          "angle": focus.guide.angle } : null
        var onPage = canvas.mapToItem(page, focus.point.x, focus.point.y)
        var place = Pointer.magnifierPlace(onPage.x, onPage.y, magnifier.width, 24, page.width,
                                           page.height)
        magnifier.x = place.x
        magnifier.y = place.y
    }

    // Where the magnifier looks and the other end of the segment there, if any, in
    // canvas pixels; null when it has nothing to show.
    function magnifierFocus() {
        var toCanvas = function (point) {
            return measures.isSet(point) ? { "x": point.x * canvas.width,
                                             "y": point.y * canvas.height } : null
        }
        if (nudging.point && nudging.moved)
            return { "point": toCanvas(nudging.point), "other": toCanvas(nudging.otherEnd) }
        var pointer = { "x": canvasMouseArea.mouseX, "y": canvasMouseArea.mouseY }
        if ((measures.calibrating || measures.measuring) && canvasMouseArea.containsMouse)
            return { "point": pointer, "other": toCanvas(segmentStartBeingPlaced()) }
        if (mouseAction >= 1 && mouseAction <= 3 && canvasMouseArea.pressed)
            return { "point": pointer, "other": null, "guide": draggedGuide() }
        return null
    }

    // The line or edge being dragged, through the circle's centre, at its angle on
    // screen (the overlay draws user angles counter-clockwise).
    function draggedGuide() {
        var rotation = compassRotationSlider.value
        var angles = [lineRotationSlider.value, rotation, rotation + compassAngleSlider.value]
        magnifier.guideColor = mouseAction === 1 ? lineLabel.color : compassLabel.color
        return { "through": { "x": circleX * canvas.width, "y": circleY * canvas.height },
                 "angle": -angles[mouseAction - 1] }
    }

    function segmentStartBeingPlaced() {
        if (measures.calibrating)
            return measures.calibration.start
        var item = measures.items[measures.items.length - 1]
        return measures.measuring && item ? item.start : measures.unsetPoint()
    }

    // ---- Colour dialogs -------------------------------------------------------------

    // Every colour chosen in an open dialog shows at once and is stored; Cancel puts
    // back the colour in force when the dialog opened, everywhere it was applied.
    // Changes of the current colour while a dialog is hidden (presetting its start
    // colour, a dialog resetting itself on close) are not the user's and are ignored.

    function openColorDialog(dialog, startColor) {
        dialog.color = startColor
        dialog.visible = true
    }

    function applyTextColor(color) {
        showTextColor(color)
        settings.angleStepTextColor = color
        canvas.requestPaint()
    }

    function applyCompassColor(color) {
        compassLabel.color = color
        settings.compassColor = color
        canvas.requestPaint()
    }

    function applyLineColor(color) {
        lineLabel.color = color
        settings.lineColor = color
        canvas.requestPaint()
    }

    function applyMainColor(color) {
        settings.mainColor = color
        canvas.requestPaint()
    }

    function applyMeasureColor(color) {
        settings.measureColor = color
        canvas.requestPaint()
    }

    // Applies every colour chosen while it is open; on Cancel, applies again the
    // colour that was in force when it opened.
    component PreviewColorDialog: Dialogs.ColorDialog {
        property color storedColor
        property color originalColor: storedColor
        signal apply(color chosen)
        showAlphaChannel: true
        onVisibleChanged: if (visible) originalColor = storedColor
        onCurrentColorChanged: if (visible) apply(currentColor)
        onRejected: {
            apply(originalColor)
            visible = false
        }
    }

    PreviewColorDialog {
        id: angleStepTextColorDialog
        objectName: "angleStepTextColorDialog"
        title: qsTr("Text color")
        storedColor: settings.angleStepTextColor
        onApply: applyTextColor(chosen)
    }

    PreviewColorDialog {
        id: compassColorDialog
        objectName: "compassColorDialog"
        title: qsTr("Sector color")
        storedColor: settings.compassColor
        onApply: applyCompassColor(chosen)
    }

    PreviewColorDialog {
        id: lineColorDialog
        objectName: "lineColorDialog"
        title: qsTr("Guide line color")
        storedColor: settings.lineColor
        onApply: applyLineColor(chosen)
    }

    PreviewColorDialog {
        id: mainColorDialog
        objectName: "mainColorDialog"
        title: qsTr("Line color")
        storedColor: settings.mainColor
        onApply: applyMainColor(chosen)
    }

    // Opens on the measures' current colour, like the others on theirs.
    PreviewColorDialog {
        id: measureColorDialog
        objectName: "measureColorDialog"
        title: qsTr("Measures color")
        storedColor: settings.measureColor
        onApply: applyMeasureColor(chosen)
    }
}
