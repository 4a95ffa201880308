import QtQuick 2.15

// The steps of placing a calibration and measures, as the menus, the keys and the
// clicks start them: what the status line says at each, which point the arrow keys
// then move, and a fresh start for each picture.
QtObject {
    id: steps

    property var page: null
    property var measures: null
    property var nudging: null
    property var status: null
    property var box: null
    property var record: null

    // A point just placed can be nudged, but not the calibration's end: the box then
    // takes the keys, and the calibration is handed to the document once accepted.
    function showPointPlaced(which) {
        if (which === "calibrationStart") {
            status.show(qsTr("Click on the calibration ending point."), true)
            nudging.takePoint(-1, 0)
        } else if (which === "calibrationEnd") {
            status.clear()
            page.endNudging()
            box.open()
        } else if (which === "measureStart" || which === "measureVertex") {
            var angle = measures.pendingItem.kind === "angle"
            status.show(!angle ? qsTr("Click on the ending point.")
                               : which === "measureStart" ? qsTr("Click on the vertex.")
                                                          : qsTr("Click on the other end."), true)
            nudging.takePoint(-2, which === "measureStart" ? 0 : 1)
        } else {
            status.clear()
            var last = measures.items.length - 1
            nudging.takePoint(last, measures.items[last].points.length - 1)
        }
        page.canvas.requestPaint()
    }

    // Edit › Clear measures and Measures › Reset: the picture starts afresh, as one
    // step that can be undone.
    function reset() {
        if (box.visible)
            box.close()
        measures.reset()
        page.endNudging()
        status.clear()
        page.canvas.requestPaint()
    }

    function undo() {
        cancelPlacing()
        measures.document.undo()
    }

    function redo() {
        cancelPlacing()
        measures.document.redo()
    }

    // Measures, calibration and reference belong to the picture they were taken on:
    // another patient's photo starts with its own record, or none. A picture shown
    // again (the one restored after a file that could not be read) keeps its own.
    function startPicture(source, file) {
        var picture = source.toString()
        if (picture === measures.picture)
            return
        var hadWork = measures.calibrated || measures.calibrating || measures.hasItems
        if (box.visible)
            box.close()
        measures.cancelPlacing()
        page.endNudging()
        record.startPicture(source, file)
        measures.picture = picture
        if (hadWork && !measures.calibrated && !measures.hasItems)
            status.show(qsTr("The measures and the calibration were cleared for the new picture."),
                        false)
        page.canvas.requestPaint()
    }

    // What the document holds stays until a new calibration is accepted.
    function calibrate() {
        page.endNudging()
        measures.startCalibration()
        status.show(qsTr("Click on the calibration starting point."), true)
        page.canvas.requestPaint()
    }

    // Nothing new is drawn before the first click, so no repaint is asked for.
    function add() {
        if (!measures.calibrated || measures.measuring || measures.calibrating)
            return
        measures.addItem()
        status.show(qsTr("Click on the starting point."), true)
    }

    // An angle needs no calibration.
    function addAngle() {
        if (measures.measuring || measures.calibrating)
            return
        measures.addItem("angle")
        status.show(qsTr("Click on one end of the angle."), true)
    }

    function pop() {
        measures.popItem()
        page.endNudging()
        status.clear()
        page.canvas.requestPaint()
    }

    // Escape: the point being placed, and its calibration or measure, are let go.
    function cancelPlacing() {
        if (!measures.calibrating && !measures.measuring)
            return false
        measures.cancelPlacing()
        page.endNudging()
        status.clear()
        page.canvas.requestPaint()
        return true
    }
}
