import QtQuick 2.15
import QtQuick.Controls 2.15

// The Edit menu's own entries: undo and redo of the picture's measurement steps,
// named after the step ("Undo Move point") and greyed when there is none, and a
// fresh start on the picture, which can itself be undone.
Item {
    id: edit

    property var page: null
    readonly property alias undo: undoAction
    readonly property alias redo: redoAction
    readonly property alias clearMeasures: clearMeasuresAction

    Action {
        id: undoAction
        readonly property string step: edit.page ? edit.page.document.undoText : ""
        text: step !== "" ? qsTr("Undo %1").arg(step) : qsTr("Undo")
        enabled: edit.page !== null && edit.page.document.canUndo
        shortcut: "Ctrl+Z"
        onTriggered: edit.page.undo()
    }

    Action {
        id: redoAction
        readonly property string step: edit.page ? edit.page.document.redoText : ""
        text: step !== "" ? qsTr("Redo %1").arg(step) : qsTr("Redo")
        enabled: edit.page !== null && edit.page.document.canRedo
        shortcut: "Ctrl+Shift+Z"
        onTriggered: edit.page.redo()
    }

    // The other key that desktops give to redo.
    Shortcut {
        sequence: "Ctrl+Y"
        enabled: redoAction.enabled
        onActivated: redoAction.trigger()
    }

    Action {
        id: clearMeasuresAction
        text: qsTr("Clear measures")
        enabled: edit.page !== null && (edit.page.calibrated || edit.page.hasMeasures)
        onTriggered: edit.page.clearMeasures()
    }
}
