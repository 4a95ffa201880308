import QtQuick 2.15
import Orvalith 1.0

// The picture's measurement document bound to the panel's controls both ways, and
// kept per picture: a record in the user's data folder for a picture from a file,
// and the one picture before in memory (a pasted one has no file). The reference
// and the eye belong to the picture; a new picture starts with an empty reference,
// the previous one offered.
QtObject {
    id: record

    property var page: null
    property var measures: null
    readonly property MeasurementDocument document: measures.document
    // The reference text of the picture before, while the one shown has none.
    property string previousReference: ""
    readonly property RecordStore store: RecordStore {
        document: record.document
    }
    // The picture before, as its source and its document's values.
    property var lastPicture: ({ "source": "", "values": null })

    // What the status line should say.
    signal message(string text)

    property Connections storeEvents: Connections {
        target: record.store
        function onRestored(message) { record.message(message) }
        function onSetAside(message) { record.message(message) }
        function onWriteFailed(message) { record.message(message) }
    }

    // True when the picture brings measures of its own back (from memory at once, or
    // later from its record, which the store announces).
    function startPicture(source, file) {
        if (document.referenceText !== "")
            previousReference = document.referenceText
        var leaving = { "source": measures.picture, "values": document.toVariant() }
        store.open(file)
        if (file.toString() === "" && lastPicture.source === source.toString()
                && lastPicture.values) {
            document.fromVariant(lastPicture.values)
            message(qsTr("The measures of this picture were restored."))
        }
        lastPicture = leaving
    }

    // One click puts the previous picture's reference in, for the other eye of the
    // same patient; it is never put in by itself.
    function usePreviousReference() {
        page.referenceTextField.text = previousReference
    }

    // ---- From the document to the controls ----------------------------------------

    // While the controls are set from the document, their changes are not new steps.
    property bool showing: false

    function showDocument() {
        showing = true
        setIfOther(page.lineRotationSlider, "value", document.lineRotation)
        setIfOther(page.compassRotationSlider, "value", document.sectorRotation)
        setIfOther(page.compassAngleSlider, "value", document.sectorAngle)
        setIfOther(page, "circleX", document.circleCentre.x)
        setIfOther(page, "circleY", document.circleCentre.y)
        // An undo may take the circle back to where its range was wider: widened
        // first, the larger radius is not cut to the range near the edge it leaves.
        if (document.circleRadius > page.circleRadiusSlider.to)
            page.calculateCircleRadiusSliderTo()
        setIfOther(page.circleRadiusSlider, "value", document.circleRadius)
        setIfOther(page.referenceTextField, "text", document.referenceText)
        if (document.rightEye)
            page.rightEyeRadioButton.checked = true
        else
            page.leftEyeRadioButton.checked = true
        showing = false
    }

    function setIfOther(target, name, value) {
        if (target[name] !== value)
            target[name] = value
    }

    property Connections documentEvents: Connections {
        target: record.document
        function onLineChanged() { record.showDocument() }
        function onSectorChanged() { record.showDocument() }
        function onCircleChanged() { record.showDocument() }
        function onReferenceTextChanged() { record.showDocument() }
        function onRightEyeChanged() { record.showDocument() }
    }

    // ---- From the controls to the document: each change a step, or part of one ------

    property Connections lineEvents: Connections {
        target: record.page.lineRotationSlider
        function onValueChanged() { if (!record.showing) record.document.turnGuideLine(record.page.lineRotationSlider.value) }
        function onPressedChanged() { record.document.endStep() }
    }
    property Connections rotationEvents: Connections {
        target: record.page.compassRotationSlider
        function onValueChanged() { record.turnSector() }
        function onPressedChanged() { record.document.endStep() }
    }
    property Connections angleEvents: Connections {
        target: record.page.compassAngleSlider
        function onValueChanged() { record.turnSector() }
        function onPressedChanged() { record.document.endStep() }
    }
    property Connections radiusEvents: Connections {
        target: record.page.circleRadiusSlider
        function onValueChanged() { if (!record.showing) record.document.changeRadius(record.page.circleRadiusSlider.value) }
        function onPressedChanged() { record.document.endStep() }
    }
    property Connections circleEvents: Connections {
        target: record.page
        function onCircleXChanged() { record.moveCircle() }
        function onCircleYChanged() { record.moveCircle() }
    }
    property Connections referenceEvents: Connections {
        target: record.page.referenceTextField
        function onTextChanged() { if (!record.showing) record.document.referenceText = record.page.referenceTextField.text }
    }
    property Connections eyeEvents: Connections {
        target: record.page.rightEyeRadioButton
        function onCheckedChanged() { if (!record.showing) record.document.rightEye = record.page.rightEyeRadioButton.checked }
    }

    function turnSector() {
        if (!showing)
            document.turnSector(page.compassRotationSlider.value, page.compassAngleSlider.value)
    }

    function moveCircle() {
        if (!showing)
            document.moveCircle(Qt.point(page.circleX, page.circleY))
    }
}
