import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "lengths.js" as Lengths

// Asks for the length between the two calibration points just placed, and its unit.
// It takes the keys at once, every time it opens: the reference field has the focus
// with its text selected, so that typing replaces it. Whatever closes it, finished()
// tells whether a length was accepted.
Popup {
    id: box
    objectName: "calibrationPopup"

    property string unit: ""
    property bool ok: false
    readonly property real centreX: (parent ? parent.width - width : 0) / 2
    readonly property real centreY: (parent ? parent.height - height : 0) / 2

    // reference in the user's unit; unit as typed, trimmed.
    signal accepted(real reference, string unit)
    signal finished(bool ok)

    width: 320
    height: 240
    modal: true
    focus: true
    leftPadding: 16
    rightPadding: 16
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutsideParent

    // The handler of accepted() sets ok when the calibration took the length.
    function accept(reference, typedUnit) {
        accepted(reference, typedUnit.trim())
        close()
    }

    // The page was resized under it: it stays where it belongs, and open.
    function recentre() {
        x = (parent.width - width) / 2
        y = (parent.height - height) / 2
    }

    // Rises from below the parent's bottom edge to its centre, and sinks back.
    enter: Transition {
        NumberAnimation {
            property: "x"
            from: box.centreX
            to: box.centreX
            duration: 250
            easing.type: Easing.Linear
        }
        NumberAnimation {
            property: "y"
            from: box.parent ? box.parent.height : 0
            to: box.centreY
            duration: 250
            easing.type: Easing.Linear
        }
    }
    exit: Transition {
        NumberAnimation {
            property: "y"
            from: box.centreY
            to: box.parent ? box.parent.height : 0
            duration: 250
            easing.type: Easing.Linear
        }
    }

    onAboutToShow: {
        ok = false
        contents.active = true
        contents.item.takeKeys()
    }
    // The first opening makes the field: it takes the focus once the box has it.
    onOpened: contents.item.takeKeys()
    onClosed: finished(ok)

    // Made when the box is first shown and kept from then on, so that the reference
    // typed in one calibration is offered again in the next.
    Loader {
        id: contents
        anchors.fill: parent
        active: false
        sourceComponent: ColumnLayout {
            function takeKeys() {
                referenceField.forceActiveFocus()
                referenceField.selectAll()
            }

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

                // Text that is not a reference length shows in red, with the range,
                // and cannot be accepted.
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
                    onAccepted: if (acceptable) box.accept(value, unitField.text)
                }

                TextField {
                    id: unitField
                    objectName: "unitField"
                    text: box.unit
                    maximumLength: Lengths.longestUnit
                    placeholderText: qsTr("unit")
                    selectByMouse: true
                    Layout.preferredWidth: 64
                    onAccepted: if (referenceField.acceptable)
                                    box.accept(referenceField.value, unitField.text)
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
                    onClicked: box.close()
                }

                Button {
                    objectName: "acceptButton"
                    text: qsTr("Accept")
                    Layout.fillWidth: true
                    enabled: referenceField.acceptable
                    onClicked: box.accept(referenceField.value, unitField.text)
                }
            }
        }
    }
}
