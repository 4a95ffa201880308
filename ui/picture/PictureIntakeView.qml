import QtQuick 2.15
import QtQuick.Controls 2.15
import Orvalith 1.0

// Lies over the image area. Every way a picture comes in goes through open(): the
// picture is read and decoded away from the window, which meanwhile stays dimmed
// here and answers; then it is shown, or refused through refused(). A picture that
// is shown but incomplete is kept or dropped at the user's word.
Item {
    id: view

    property Image target: null
    property url previousSource: ""
    // The local file of the picture shown, empty for a pasted one: its name heads the
    // measurements saved from it.
    property url shownFile: ""
    property url previousFile: ""

    signal refused(bool tooLarge, int largestSide, int largestMegapixels)

    function open(source) {
        intake.open(source)
    }

    // The store forgets decoded pictures that the image no longer shows; while the
    // user decides, the one shown before is kept so that it can come back.
    function show(url, incomplete, file) {
        previousSource = target.source
        previousFile = shownFile
        shownFile = file
        target.source = url
        if (incomplete)
            incompleteDialog.open()
        else
            intake.keepOnly([url])
    }

    PictureIntake {
        id: intake
        objectName: "pictureIntake"
        onPictureReady: view.show(url, incomplete, file)
        onPictureRefused: view.refused(tooLarge, largestSide, largestMegapixels)
    }

    Rectangle {
        objectName: "pictureLoadingOverlay"
        anchors.fill: parent
        color: Qt.rgba(0, 0, 0, 0.6)
        // Only once reading takes a moment: every frame of the running indicator
        // costs the window time.
        visible: intake.slow

        // Clicks on the picture being replaced would place points on it.
        MouseArea {
            anchors.fill: parent
        }

        // Moves at the intake's steps only, a few times a second, with no animation:
        // every frame drawn while a picture is decoded takes from the decoding, and
        // holds the window at each frame's hand-over to the render thread.
        Row {
            objectName: "pictureLoadingSteps"
            readonly property int lit: intake.slowSteps % 5
            anchors.centerIn: parent
            spacing: 8

            Repeater {
                model: 5
                Rectangle {
                    width: 12
                    height: 12
                    radius: 6
                    color: "white"
                    opacity: index === parent.lit ? 1 : 0.3
                }
            }
        }
    }

    Dialog {
        id: incompleteDialog
        objectName: "incompletePictureDialog"
        anchors.centerIn: parent
        modal: true
        closePolicy: Popup.CloseOnEscape

        Label {
            objectName: "incompletePictureLabel"
            text: qsTr("This picture is incomplete: the part of it that is missing shows grey.")
            wrapMode: Text.WordWrap
        }

        footer: DialogButtonBox {
            Button {
                objectName: "keepIncompleteButton"
                text: qsTr("Keep it")
                DialogButtonBox.buttonRole: DialogButtonBox.AcceptRole
            }
            Button {
                objectName: "dropIncompleteButton"
                text: qsTr("Discard it")
                DialogButtonBox.buttonRole: DialogButtonBox.RejectRole
            }
        }

        onAccepted: intake.keepOnly([target.source])
        onRejected: {
            shownFile = previousFile
            target.source = previousSource
            intake.keepOnly([previousSource])
        }
    }
}
