import QtQuick 2.15
import QtQuick.Dialogs 1.3 as Dialogs

// The overlay's colour dialogs. Every colour chosen in an open dialog shows at once
// and is stored; Cancel puts back the colour in force when the dialog opened,
// everywhere it was applied. Changes of the current colour while a dialog is hidden
// (presetting its start colour, a dialog resetting itself on close) are not the
// user's and are ignored.
Item {
    id: dialogs

    // The settings object that stores the colours.
    property var settings: null
    // Where the guide line's and the sector's colours show besides the overlay.
    property color lineColor
    property color sectorColor

    // Each colour, as it is applied (stored already).
    signal textColorApplied(color chosen)
    signal lineColorApplied(color chosen)
    signal sectorColorApplied(color chosen)
    signal overlayColorApplied()

    function open(dialog, startColor) {
        dialog.color = startColor
        dialog.visible = true
    }

    function openText() { open(angleStepTextColorDialog, settings.angleStepTextColor) }
    function openSector() { open(compassColorDialog, sectorColor) }
    function openLine() { open(lineColorDialog, lineColor) }
    function openMain() { open(mainColorDialog, settings.mainColor) }
    function openMeasures() { open(measureColorDialog, settings.measureColor) }

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
        storedColor: dialogs.settings.angleStepTextColor
        onApply: {
            dialogs.settings.angleStepTextColor = chosen
            dialogs.textColorApplied(chosen)
        }
    }

    PreviewColorDialog {
        id: compassColorDialog
        objectName: "compassColorDialog"
        title: qsTr("Sector color")
        storedColor: dialogs.settings.compassColor
        onApply: {
            dialogs.settings.compassColor = chosen
            dialogs.sectorColorApplied(chosen)
        }
    }

    PreviewColorDialog {
        id: lineColorDialog
        objectName: "lineColorDialog"
        title: qsTr("Guide line color")
        storedColor: dialogs.settings.lineColor
        onApply: {
            dialogs.settings.lineColor = chosen
            dialogs.lineColorApplied(chosen)
        }
    }

    PreviewColorDialog {
        id: mainColorDialog
        objectName: "mainColorDialog"
        title: qsTr("Line color")
        storedColor: dialogs.settings.mainColor
        onApply: {
            dialogs.settings.mainColor = chosen
            dialogs.overlayColorApplied()
        }
    }

    // Opens on the measures' current colour, like the others on theirs.
    PreviewColorDialog {
        id: measureColorDialog
        objectName: "measureColorDialog"
        title: qsTr("Measures color")
        storedColor: dialogs.settings.measureColor
        onApply: {
            dialogs.settings.measureColor = chosen
            dialogs.overlayColorApplied()
        }
    }
}
