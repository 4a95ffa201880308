import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15

// The axis planned for a toric lens, typed in degrees (0 to 180, one decimal, "." or
// "," alike): kept in the picture's document, so that each picture has its own, and
// empty until typed.
RowLayout {
    id: field
    spacing: 8

    property var document: null

    // -1 for an empty or unreadable text.
    function axisOf(text) {
        var trimmed = String(text).trim()
        if (!/^\d{1,3}([.,]\d?)?$/.test(trimmed))
            return -1
        var value = Number(trimmed.replace(",", "."))
        return value <= 180 ? value : -1
    }

    function textOf(axis) {
        return axis < 0 ? "" : Number(axis).toLocaleString(Qt.locale(), "f", 1)
    }

    Label {
        text: qsTr("Planned axis")
        Layout.fillWidth: true
    }

    TextField {
        id: axisField
        objectName: "plannedAxisField"
        placeholderText: "\u2014"
        horizontalAlignment: TextInput.AlignRight
        validator: RegularExpressionValidator { regularExpression: /^\d{0,3}([.,]\d?)?$/ }
        Layout.preferredWidth: 72
        onTextEdited: if (field.document) field.document.plannedAxis = field.axisOf(text)
        // Typing again later is a step of its own.
        onEditingFinished: if (field.document) field.document.endStep()
    }

    Label {
        text: "\u00b0"
    }

    // Another picture, an undo of the whole record: the field shows the document's.
    Connections {
        target: field.document
        function onPlannedAxisChanged() {
            if (field.axisOf(axisField.text) !== field.document.plannedAxis)
                axisField.text = field.textOf(field.document.plannedAxis)
        }
    }
}
