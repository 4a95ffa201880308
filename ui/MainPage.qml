import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Dialogs 1.3 as Dialogs
import QtQuick.Layouts 1.15
import Qt.labs.folderlistmodel 2.15
import Qt.labs.platform 1.1 as Platform
import Qt.labs.settings 1.0

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

    property alias openImageDialogVisible: openImageDialog.visible
    readonly property bool calibrated: measures.calibrated
    readonly property bool calibrating: measures.calibrating
    readonly property bool measuring: measures.measuring
    readonly property bool hasMeasures: measures.hasItems

    Settings {
        id: settings
        objectName: "settings"
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
        repairStoredWidths()
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

    function nearestValue(value, spinBox) {
        return Math.min(spinBox.to, Math.max(spinBox.from, Math.round(value)))
    }

    function showTextColor(color) {
        eyeLabel.color = color
        referenceLabel.color = color
        messageLabel.color = color
    }

    // Whole degrees print as they are; a value between whole degrees keeps one decimal.
    function degreesText(value) {
        return value === Math.round(value) ? String(value) : value.toFixed(1)
    }

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
    // stored value may not be a folder at all: the dialog then opens in the documents
    // folder. The probe lists nothing; it only reports whether a folder can be read.
    // It starts by reading a folder of its own choosing (the working folder) in the
    // background; only once that answer is in is it asked about the remembered one,
    // so that a late answer about the first folder cannot pass for the second's.
    FolderListModel {
        id: rememberedFolderProbe
        objectName: "rememberedFolderProbe"
        property bool settled: false
        showDirs: false
        showFiles: false
        onStatusChanged: {
            if (status === FolderListModel.Ready && !settled) {
                settled = true
                checkRememberedFolder()
            }
        }
    }

    function checkRememberedFolder() {
        rememberedFolderProbe.folder = settings.openImageDialogFolder
    }

    Dialogs.FileDialog {
        id: openImageDialog
        objectName: "openImageDialog"
        readonly property url startFolder: rememberedFolderProbe.settled
                                           && rememberedFolderProbe.status === FolderListModel.Ready
                                           ? rememberedFolderProbe.folder
                                           : Platform.StandardPaths.writableLocation(
                                                 Platform.StandardPaths.DocumentsLocation)
        title: qsTr("Pick an image")
        folder: startFolder
        nameFilters: ["Image files (*.jpg *.jpeg *.png)"]
        selectMultiple: false
        // The widget dialog is made when first shown and ignores a folder set before
        // that; given again once it is up, it opens there.
        onVisibleChanged: if (visible) folder = startFolder
        onAccepted: acceptChosenImage(openImageDialog.fileUrl)
        onRejected: openImageDialog.visible = false
    }

    // The folder remembered is the chosen file's own: the one the user picked it in.
    function acceptChosenImage(fileUrl) {
        var chosen = fileUrl.toString()
        settings.openImageDialogFolder = chosen !== ""
                ? chosen.substring(0, chosen.lastIndexOf("/")) : openImageDialog.folder
        checkRememberedFolder()
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

    QtObject {
        id: measures
        objectName: "measures"
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
        function isSet(point) {
            return point.x >= 0
        }

        // A click on the canvas while a calibration or a measure is being placed; x and
        // y are fractions of the canvas width and height. True when a point was placed.
        function placePoint(x, y) {
            if (calibrating)
                return placeCalibrationPoint(newPoint(x, y))
            if (measuring)
                return placeMeasurePoint(newPoint(x, y))
            return false
        }

        function placeCalibrationPoint(point) {
            if (!isSet(calibration.start)) {
                calibration.start = point
                messageLabel.text = qsTr("Click on the calibration ending point.")
                return true
            }
            if (!isSet(calibration.end)) {
                calibration.end = point
                messageLabel.text = ""
                calibrationPopup.open()
                return true
            }
            return false
        }

        function placeMeasurePoint(point) {
            var item = items[items.length - 1]
            if (!isSet(item.start)) {
                item.start = point
                messageLabel.text = qsTr("Click on the ending point.")
                return true
            }
            item.end = point
            item.cachedLength = calibrationFactor * pictureDistance(item.start, item.end)
            measuring = false
            messageLabel.text = ""
            return true
        }

        // Points are fractions of the canvas, whose proportions are the picture's; the
        // distance is taken in picture pixels, so that one factor holds in every
        // direction and keeps holding when the window or the tool panel changes size.
        function pictureDistance(start, end) {
            var size = image.sourceSize.width > 0 ? image.sourceSize : drawingRectangle
            var dx = (end.x - start.x) * size.width
            var dy = (end.y - start.y) * size.height
            return Math.sqrt(dx * dx + dy * dy)
        }
    }

    function resetMeasures() {
        measures.calibrating = false
        measures.calibrated = false
        measures.calibration = measures.newCalibration()
        measures.calibrationFactor = 0
        measures.measuring = false
        measures.items = []
        measures.hasItems = false
        messageLabel.text = ""
        canvas.requestPaint()
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
        measures.items = measures.items.concat([measures.newItem()])
        measures.hasItems = true
        measures.measuring = true
        messageLabel.text = qsTr("Click on the starting point.")
    }

    // While a measure is being placed, the last item is that incomplete one.
    function popMeasure() {
        if (measures.items.length > 0)
            measures.items = measures.items.slice(0, -1)
        measures.hasItems = measures.items.length > 0
        measures.measuring = false
        messageLabel.text = ""
        canvas.requestPaint()
    }

    function pickMeasuresColor() {
        openColorDialog(measureColorDialog, settings.measureColor)
    }

    // Two points coinciding give no factor: Accept then closes without "ok" and resets.
    function acceptCalibration(reference) {
        measures.calibrating = false
        var distance = measures.pictureDistance(measures.calibration.start,
                                                measures.calibration.end)
        if (distance > 0) {
            measures.calibrationFactor = reference / distance
            calibrationPopup.ok = true
        }
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

                // Keeps its value from one calibration to the next.
                SpinBox {
                    id: referenceSpinBox
                    objectName: "referenceSpinBox"
                    from: 1
                    to: 1000000
                    stepSize: 1
                    value: 1
                    editable: true
                    Layout.alignment: Qt.AlignHCenter
                    Layout.minimumWidth: 64
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
                        onClicked: acceptCalibration(referenceSpinBox.value)
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

    function paintOverlay() {
        var ctx = canvas.getContext("2d")
        ctx.reset()
        setOverlayStyles(ctx)
        var g = overlayGeometry()
        paintCross(ctx, g)
        paintCircle(ctx, g)
        paintGraduation(ctx, g)
        if (lineVisibleSwitch.checked)
            paintGuideLine(ctx, g)
        if (compassVisibleSwitch.checked)
            paintSector(ctx, g)
        if (measures.calibrating)
            paintCalibration(ctx, g)
        paintMeasures(ctx, g)
    }

    // The fill style stays the text colour for the whole run: only numbers are filled.
    function setOverlayStyles(ctx) {
        ctx.fillStyle = settings.angleStepTextColor
        ctx.font = angleStepTextFont
        ctx.strokeStyle = settings.mainColor
        ctx.textAlign = "center"
        ctx.textBaseline = "middle"
    }

    // reach: every ray and line runs this far from its start, which lies beyond any
    // edge of the canvas; the canvas clips the rest.
    function overlayGeometry() {
        var w = canvas.width
        var h = canvas.height
        return {
            "w": w,
            "h": h,
            "cx": circleX * w,
            "cy": circleY * h,
            "r": circleRadiusSlider.value,
            "reach": w * w + h * h
        }
    }

    function toPixels(point, g) {
        return { "x": point.x * g.w, "y": point.y * g.h }
    }

    // Adds a segment from (x, y) outwards at the canvas angle theta to the path.
    function addRay(ctx, x, y, theta, reach) {
        ctx.moveTo(x, y)
        ctx.lineTo(x + reach * Math.cos(theta), y + reach * Math.sin(theta))
    }

    // Clears a box around the text so that the picture shows behind it, then writes it.
    function writeClearedText(ctx, text, x, y) {
        var tw = ctx.measureText(text).width
        var pad = angleStepTextRectPadding
        ctx.clearRect(x - tw / 2 - pad, y - angleStepTextSize / 2 - pad, tw + 2 * pad,
                      angleStepTextSize + 2 * pad)
        ctx.fillText(text, x, y)
    }

    function paintCross(ctx, g) {
        ctx.lineWidth = circleWidthSpinBox.value + 1
        ctx.beginPath()
        ctx.moveTo(0, g.cy)
        ctx.lineTo(g.w, g.cy)
        ctx.moveTo(g.cx, 0)
        ctx.lineTo(g.cx, g.h)
        ctx.stroke()
    }

    function paintCircle(ctx, g) {
        ctx.beginPath()
        ctx.arc(g.cx, g.cy, g.r, 0, 2 * Math.PI)
        ctx.stroke()
    }

    // Numbers every 5 degrees where there is room around the circle, else every 10 or 20.
    function angleStepTextModulus(distanceToBorder, h) {
        if (distanceToBorder > 0.3 * h)
            return 5
        return distanceToBorder > 0.2 * h ? 10 : 20
    }

    // Rays every 5 or 10 degrees outside the circle, clockwise on screen from the
    // right; each carries the user angle of its direction modulo 180 where the
    // modulus allows. The cross already lies rightwards and downwards: no ray there.
    function paintGraduation(ctx, g) {
        ctx.lineWidth = circleWidthSpinBox.value
        var d = minDistanceToBorder()
        var textDist = d - g.r - 8
        var modulus = angleStepTextModulus(d, g.h)
        var step = settings.angleStep10 ? 10 : 5
        for (var k = 0; k < 360 / step; ++k) {
            var degrees = k * step
            var theta = degrees * Math.PI / 180
            var cos = Math.cos(theta)
            var sin = Math.sin(theta)
            var px = g.cx + g.r * cos
            var py = g.cy + g.r * sin
            if (degrees !== 0 && degrees !== 90) {
                ctx.beginPath()
                addRay(ctx, px, py, theta, g.reach)
                ctx.stroke()
            }
            var stepDegrees = 360 - degrees
            if (stepDegrees % modulus === 0)
                writeClearedText(ctx, String(stepDegrees % 180), px + textDist * cos,
                                 py + textDist * sin)
        }
    }

    // One straight line through the centre at the rotation's user angle.
    function paintGuideLine(ctx, g) {
        ctx.strokeStyle = lineLabel.color
        ctx.lineWidth = lineWidthSpinBox.value
        var a = lineRotationSlider.value * Math.PI / 180
        ctx.beginPath()
        addRay(ctx, g.cx, g.cy, -a, g.reach)
        addRay(ctx, g.cx, g.cy, Math.PI - a, g.reach)
        ctx.stroke()
    }

    // Only the two edges; the sector opens counter-clockwise from the rotation edge.
    function paintSector(ctx, g) {
        ctx.strokeStyle = compassLabel.color
        ctx.lineWidth = compassWidthSpinBox.value
        var r = compassRotationSlider.value * Math.PI / 180
        var o = compassAngleSlider.value * Math.PI / 180
        ctx.beginPath()
        addRay(ctx, g.cx, g.cy, -r, g.reach)
        addRay(ctx, g.cx, g.cy, -o - r, g.reach)
        ctx.stroke()
    }

    // A segment from the start to the end, or to the pointer while the end is not
    // placed yet, with a small circle at each end.
    function paintSegment(ctx, g, start, end) {
        var s = toPixels(start, g)
        var e = measures.isSet(end) ? toPixels(end, g) : {
                                     "x": canvasMouseArea.mouseX,
                                     "y": canvasMouseArea.mouseY
                                 }
        ctx.beginPath()
        ctx.arc(s.x, s.y, 8, 0, 2 * Math.PI)
        ctx.moveTo(s.x, s.y)
        ctx.lineTo(e.x, e.y)
        ctx.stroke()
        ctx.beginPath()
        ctx.arc(e.x, e.y, 8, 0, 2 * Math.PI)
        ctx.stroke()
        return { "x": (s.x + e.x) / 2, "y": (s.y + e.y) / 2 }
    }

    function paintCalibration(ctx, g) {
        var calibration = measures.calibration
        if (!measures.isSet(calibration.start))
            return
        ctx.lineWidth = 1
        ctx.strokeStyle = settings.measureColor
        paintSegment(ctx, g, calibration.start, calibration.end)
    }

    // Measures come last, over everything else; each length is written at the
    // middle of its segment with one decimal.
    function paintMeasures(ctx, g) {
        ctx.lineWidth = 1
        ctx.strokeStyle = settings.measureColor
        var items = measures.items
        for (var i = 0; i < items.length; ++i) {
            var item = items[i]
            if (!measures.isSet(item.start))
                continue
            var middle = paintSegment(ctx, g, item.start, item.end)
            if (measures.isSet(item.end))
                writeClearedText(ctx, item.cachedLength.toFixed(1), middle.x, middle.y)
        }
    }

    // ---- Pointer interaction ------------------------------------------------------

    // mouseAction holds what a drag has taken: 0 nothing, 1 the guide line, 2 the
    // sector's rotation edge, 3 its angle edge, 4 the circle. Only a move with no
    // button held ends it, so a new press before moving continues the old drag.
    canvasMouseArea.onPositionChanged: handlePointerMove()
    canvasMouseArea.onClicked: handleCanvasClick(mouse)
    canvasMouseArea.onWheel: handleWheel(wheel)

    // The pointer seen from the circle's centre: alphadeg counter-clockwise from the
    // right (-180 to 180), betadeg as a line (0 to 180), gammadeg as a ray (0 to 360).
    function pointerGeometry(x, y) {
        var cx = circleX * canvas.width
        var cy = circleY * canvas.height
        var dx = x - cx
        var dy = y - cy
        var alphadeg = -Math.atan2(dy, dx) * 180 / Math.PI
        return {
            "cx": cx,
            "cy": cy,
            "betadeg": alphadeg >= 0 ? alphadeg : alphadeg + 180,
            "gammadeg": alphadeg >= 0 ? alphadeg : alphadeg + 360,
            "dist": Math.sqrt(dx * dx + dy * dy)
        }
    }

    function isOnAngle(degrees, target) {
        return Math.abs(degrees - target) <= itemSelectionAngleOffset
    }

    function isOnGuideLine(p) {
        return lineVisibleSwitch.checked && isOnAngle(p.betadeg, lineRotationSlider.value)
    }

    function isOnRotationEdge(p) {
        return compassVisibleSwitch.checked && isOnAngle(p.gammadeg,
                                                         compassRotationSlider.value)
    }

    function isOnAngleEdge(p) {
        var edge = (compassRotationSlider.value + compassAngleSlider.value) % 360
        return compassVisibleSwitch.checked && isOnAngle(p.gammadeg, edge)
    }

    function isInCircle(p) {
        return p.dist <= circleRadiusSlider.value
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

    // Clicks place calibration and measure points; at any other time they do nothing.
    function handleCanvasClick(mouse) {
        if (!measures.calibrating && !measures.measuring)
            return
        if (measures.placePoint(mouse.x / canvas.width, mouse.y / canvas.height))
            canvas.requestPaint()
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
