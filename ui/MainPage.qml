import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Qt.labs.platform 1.1 as Platform
import Orvalith 1.0
import "halo.js" as Halo
import "highlight.js" as Highlight
import "lengths.js" as Lengths
import "overlay.js" as Overlay

// The corridor: the form's controls, wired to the rooms that do the work (the
// picture's measures and their record, the pointer, the calibration box, the colour
// dialogs, the ways a picture comes in).
MainPageForm {
    id: page

    readonly property real circleMargin: angleStepTextSize * 3 + angleStepTextRectPadding
                                         + angleStepTextRectPadding
    property real circleX: 0.5
    property real circleY: 0.5
    readonly property alias lastMouseOnCircleX: pointerHandling.lastX
    readonly property alias lastMouseOnCircleY: pointerHandling.lastY
    readonly property real angleStepTextSize: 9
    readonly property real angleStepTextRectPadding: 2
    // Arial where it is installed (Windows); elsewhere its metric twin, then any sans
    // serif, so that the canvas never falls back to its own default size.
    readonly property string angleStepTextFont: angleStepTextSize
                                                + "pt arial, \"Liberation Sans\", sans-serif"
    readonly property alias mouseAction: pointerHandling.mouseAction
    readonly property alias settings: settings

    property alias openImageDialogVisible: pictureOpening.dialogVisible
    readonly property bool calibrated: measures.calibrated
    readonly property bool calibrating: measures.calibrating
    readonly property bool measuring: measures.measuring
    readonly property bool hasMeasures: measures.hasItems
    property alias measuresList: measuresList
    // The picture's measurement document, its record, and its steps to undo.
    readonly property alias document: measures.document
    readonly property alias pictureRecord: pictureRecord
    // How the picture is shown: whole, or enlarged (see PictureZoom).
    readonly property alias view: pictureZoom.view

    StoredSettings {
        id: settings
        objectName: "settings"
        category: "MainPage"
        property bool angleStep10: true
        property url openImageDialogFolder: Platform.StandardPaths.writableLocation(
                                                Platform.StandardPaths.DocumentsLocation)
        property color angleStepTextColor: panel.defaultColors.angleStepTextColor
        property color compassColor: panel.defaultColors.compassColor
        property color lineColor: panel.defaultColors.lineColor
        property color mainColor: panel.defaultColors.mainColor
        property color measureColor: panel.defaultColors.measureColor
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

    Component.onCompleted: {
        settings.lengthUnit = Lengths.unitOf(settings.lengthUnit)
        panel.startUp()
        // The start-up's own settings are no steps of the user.
        measures.document.reset()
        canvas.requestPaint()
    }

    PanelSetup {
        id: panel
        page: page
        settings: settings
    }

    // Used by the window and the tests: the panel's own.
    function minDistanceToBorder() {
        return panel.minDistanceToBorder()
    }

    function calculateCircleRadiusSliderTo() {
        panel.calculateCircleRadiusSliderTo()
    }

    // Every text over the picture is outlined in the contrast to its own colour.
    eyeLabel.styleColor: Halo.haloColor(eyeLabel.color)
    referenceLabel.styleColor: Halo.haloColor(referenceLabel.color)
    messageLabel.styleColor: Halo.haloColor(messageLabel.color)
    lineLabel.styleColor: Halo.haloColor(lineLabel.color)
    compassLabel.styleColor: Halo.haloColor(compassLabel.color)

    openImageButton.onClicked: pictureOpening.showDialog()
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

    mainColorButton.onClicked: colorDialogs.openMain()
    angleStepTextColorButton.onClicked: colorDialogs.openText()

    lineVisibleSwitch.onCheckedChanged: {
        panel.showLine(lineVisibleSwitch.checked)
        canvas.requestPaint()
    }

    lineRotationSlider.onValueChanged: {
        panel.updateLineLabelText()
        canvas.requestPaint()
    }

    lineWidthSpinBox.onValueChanged: {
        settings.lineWidth = lineWidthSpinBox.value
        canvas.requestPaint()
    }

    lineColorButton.onClicked: colorDialogs.openLine()

    compassVisibleSwitch.onCheckedChanged: {
        panel.showSector(compassVisibleSwitch.checked)
        canvas.requestPaint()
    }

    compassRotationSlider.onValueChanged: {
        panel.updateCompassLabelText()
        canvas.requestPaint()
    }

    compassAngleSlider.onValueChanged: {
        panel.updateCompassLabelText()
        canvas.requestPaint()
    }

    compassWidthSpinBox.onValueChanged: {
        settings.compassWidth = compassWidthSpinBox.value
        canvas.requestPaint()
    }

    compassColorButton.onClicked: colorDialogs.openSector()

    // The reference text shows only in the exported picture (the label stays hidden).
    referenceTextField.onTextChanged: referenceLabel.text = referenceTextField.text

    rightEyeRadioButton.onCheckedChanged: eyeLabel.text = rightEyeRadioButton.checked
                                          ? qsTr("R.E.") : qsTr("L.E.")

    // The circle must keep fitting whatever resizes the drawing area: the window, a
    // new picture of other proportions, the sliding tool panel.
    drawingRectangle.onWidthChanged: calculateCircleRadiusSliderTo()
    drawingRectangle.onHeightChanged: calculateCircleRadiusSliderTo()
    containerRectangle.onWidthChanged: panel.updateDrawingRectangleSize()
    containerRectangle.onHeightChanged: panel.updateDrawingRectangleSize()
    onWidthChanged: pageResized()
    onHeightChanged: pageResized()

    // Only a change of the page's own size moves the radius range; the sliding tool
    // panel resizes the image area alone. A calibration box open meanwhile stays open,
    // with its points: they are fractions of the picture, which keeps its proportions.
    function pageResized() {
        if (calibrationBox.visible)
            calibrationBox.recentre()
        calculateCircleRadiusSliderTo()
        canvas.requestPaint()
    }

    // ---- Pictures coming in ------------------------------------------------------------

    // Phone and camera photos carry their orientation in EXIF: show them upright, so
    // that nothing is measured on its side; sourceSize is then the upright size too.
    image.autoTransform: true
    image.onSourceSizeChanged: panel.updateDrawingRectangleSize()

    // Every way in (open dialog, drop, paste, a file named at start) comes here.
    function openPicture(source) {
        pictureOpening.open(source)
    }

    PictureOpening {
        id: pictureOpening
        anchors.fill: parent
        image: page.image
        imageArea: containerRectangle
        settings: settings
        onPictureShown: {
            steps.startPicture(source, pictureOpening.shownFile)
            noteComposite()
        }
    }

    CompositeMark {
        id: compositeMark
    }

    // A composite saved here has its overlay in its pixels: measuring over it would
    // measure the old lines. The warning stays until the next status text.
    function noteComposite() {
        if (compositeMark.carriesOverlay(pictureOpening.shownFile))
            statusLine.show(qsTr("This picture is a saved composite: it already carries an overlay. Measure on the original photo, which holds the measures."),
                            true)
    }

    // ---- Measures, calibration and the picture's record -----------------------------

    Measures {
        id: measures
        objectName: "measures"
        pictureSize: image.sourceSize.width > 0 ? image.sourceSize
                                                : Qt.size(drawingRectangle.width,
                                                          drawingRectangle.height)
        onPointPlaced: steps.showPointPlaced(which)
        onItemsChanged: canvas.requestPaint()
        onCalibrationChanged: canvas.requestPaint()
        onSelectedChanged: canvas.requestPaint()
    }

    PictureRecord {
        id: pictureRecord
        page: page
        measures: measures
        onMessage: statusLine.show(text, false)
    }

    StatusLine {
        id: statusLine
        label: messageLabel
    }

    // The previous picture's reference, one click away while this one has none (the
    // other eye of the same patient); never put in by itself.
    Button {
        objectName: "previousReferenceButton"
        parent: referenceTextField
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        visible: referenceTextField.text === "" && pictureRecord.previousReference !== ""
        flat: true
        text: qsTr("Previous")
        ToolTip.visible: hovered
        ToolTip.text: pictureRecord.previousReference
        onClicked: pictureRecord.usePreviousReference()
    }

    MeasuringSteps {
        id: steps
        page: page
        measures: measures
        nudging: nudging
        status: statusLine
        box: calibrationBox
        record: pictureRecord
    }

    // The menus' and the window's ways in.
    function resetMeasures() {
        steps.reset()
    }

    function clearMeasures() {
        steps.reset()
    }

    function undo() {
        steps.undo()
    }

    function redo() {
        steps.redo()
    }

    function calibrateMeasures() {
        steps.calibrate()
    }

    function addMeasure(kind) {
        kind === "angle" ? steps.addAngle() : steps.add()
    }

    function popMeasure() {
        steps.pop()
    }

    function cancelPlacing() {
        return steps.cancelPlacing() || circleFitting.cancel()
    }

    function fitCircle() {
        circleFitting.start()
    }

    CircleFitting {
        id: circleFitting
        page: page
        measures: measures
        status: statusLine
    }

    function pickMeasuresColor() {
        colorDialogs.openMeasures()
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
        circleDiameter: document.circleFitted ? 2 * circleRadiusSlider.value
                                                * measures.pictureSize.width / canvas.width : 0
        picture: pictureOpening.shownFile
        referenceText: referenceTextField.text
        eye: eyeLabel.text
    }

    // Two points coinciding give no factor: the box then closes with nothing changed.
    // The unit, when given, is kept for the next calibration and the next run.
    CalibrationBox {
        id: calibrationBox
        parent: page
        unit: settings.lengthUnit
        onAccepted: {
            settings.lengthUnit = Lengths.unitOf(unit)
            ok = measures.calibrate(reference, unit)
            measures.cancelPlacing()
        }
        onFinished: {
            measures.cancelPlacing()
            canvas.requestPaint()
        }
    }

    // ---- Overlay painting ---------------------------------------------------------

    // The overlay is drawn from the page's state at every paint (the layers keep only
    // what they last drew). Requests made before the next frame share one run.
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
    // The status line is the screen's: it never goes into a saved or printed picture.
    function showCaptureOverlay(factor) {
        picturePreview.capturing = true
        messageLabel.visible = false
        if (!canvas.visible)
            return
        canvas.visible = false
        exportOverlay.show(factor, Qt.size(canvas.width, canvas.height))
    }

    function showScreenOverlay() {
        picturePreview.capturing = false
        messageLabel.visible = true
        if (!exportOverlay.visible)
            return
        exportOverlay.hide()
        canvas.visible = true
    }

    // Every repaint request comes to the canvas, whose layers repaint what changed; the
    // canvas itself only clears its single pixel (and so still tells it has painted).
    function paintOverlay() {
        canvas.getContext("2d").reset()
        var values = overlayValues()
        values.hovered = pointerHandling.hovered
        values.held = nudging.row !== -3 ? { "row": nudging.row, "index": nudging.index }
                                         : mouseAction === 5 ? { "row": pointerHandling.takenRow,
                                                                 "index": pointerHandling.takenIndex }
                                                             : null
        values.selected = measures.selected
        overlayLayers.paint(Overlay.throughView(values, view.zoom, view.offset))
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
            "unit": settings.lengthUnit,
            "fitPoints": circleFitting.points,
            "plannedAxis": measures.document.plannedAxis
        }
    }

    // ---- Pointer and keys -----------------------------------------------------------

    PointerHandling {
        id: pointerHandling
        page: page
        measures: measures
        nudging: nudging
        canvas: page.canvas
        area: canvasMouseArea
        circleFitting: circleFitting
        view: pictureZoom.view
        zoom: pictureZoom
        onChanged: {
            canvas.requestPaint()
            updateMagnifier()
        }
    }

    function setCircleCentre(x, y) {
        circleX = x
        circleY = y
        calculateCircleRadiusSliderTo()
        canvas.requestPaint()
    }

    onCircleXChanged: canvas.requestPaint()
    onCircleYChanged: canvas.requestPaint()

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
        // By picture pixels, as points move; kept as far from the edges as a drag keeps it.
        onMoveCircle: {
            var size = measures.pictureSize
            if (size.width <= 0 || size.height <= 0)
                return
            var limit = circleRadiusSlider.value + circleMargin
            var cx = pointerHandling.limitCentre((circleX + dx / size.width) * canvas.width, limit,
                                                 canvas.width)
            var cy = pointerHandling.limitCentre((circleY + dy / size.height) * canvas.height,
                                                 limit, canvas.height)
            setCircleCentre(cx / canvas.width, cy / canvas.height)
        }
    }

    // The keys reach the page once the canvas was pressed; arrows that a control of
    // the panel passes on (a text field's Up and Down) are not the page's. A run of a
    // held key is one step: it ends when the key is let go.
    canvasMouseArea.onPressed: page.forceActiveFocus()
    Keys.onPressed: if (page.activeFocus && (nudging.handleKey(event.key, event.modifiers)
                                             || magnifierPlacing.zoom(event.key)
                                             || pictureZoom.handleKey(event.key, event.modifiers)
                                             || viewPanning.holdSpace(event, true)
                                             || circleFitting.handleKey(event.key)))
                        event.accepted = true
    Keys.onReleased: {
        viewPanning.holdSpace(event, false)
        if (!event.isAutoRepeat)
            measures.document.endStep()
    }
    onActiveFocusChanged: if (!activeFocus)
                              viewPanning.spaceHeld = false
    Keys.onDeletePressed: event.accepted = measures.removeSelected()
    Keys.onEscapePressed: {
        event.accepted = cancelPlacing() || nudging.active || measures.selected >= 0
        measures.selected = -1
        endNudging()
    }

    // The next click, Escape, or taking anything else ends nudging.
    function endNudging() {
        nudging.end()
        updateMagnifier()
    }

    // ---- Zoom and pan ----------------------------------------------------------------

    PictureZoom {
        id: pictureZoom
        area: drawingRectangle
        overlay: canvas
        image: page.image
        preview: picturePreview
        pointerArea: canvasMouseArea
    }

    ViewPanning {
        id: viewPanning
        objectName: "viewPanning"
        parent: canvas
        anchors.fill: parent
        view: pictureZoom.view
        onPressed: page.forceActiveFocus()
    }

    Connections {
        target: pictureZoom.view
        function onViewChanged() {
            canvas.requestPaint()
            updateMagnifier()
        }
    }

    // The window's View menu.
    function zoomIn() {
        pictureZoom.zoomIn()
    }

    function zoomOut() {
        pictureZoom.zoomOut()
    }

    function fitToWindow() {
        pictureZoom.fit()
    }

    function actualPixels() {
        pictureZoom.actualPixels()
    }

    // ---- Magnifier -------------------------------------------------------------------

    MagnifierPlacing {
        id: magnifierPlacing
        anchors.fill: parent
        z: 10
        page: page
        measures: measures
        nudging: nudging
        pointer: pointerHandling
        fitting: circleFitting
        settings: settings
        view: pictureZoom.view
    }

    magnifierSwitch.onCheckedChanged: {
        settings.magnifier = magnifierSwitch.checked
        updateMagnifier()
    }

    function updateMagnifier() {
        magnifierPlacing.update()
    }

    // ---- Colour dialogs -------------------------------------------------------------

    ColorDialogs {
        id: colorDialogs
        settings: settings
        lineColor: lineLabel.color
        sectorColor: compassLabel.color
        onTextColorApplied: {
            panel.showTextColor(chosen)
            canvas.requestPaint()
        }
        onLineColorApplied: {
            lineLabel.color = chosen
            canvas.requestPaint()
        }
        onSectorColorApplied: {
            compassLabel.color = chosen
            canvas.requestPaint()
        }
        onOverlayColorApplied: canvas.requestPaint()
    }
}
