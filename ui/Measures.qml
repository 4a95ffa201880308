import QtQuick 2.15
import Orvalith 1.0

// The page's view of the picture's measurement document, with the points being
// placed that the document does not hold yet: a calibration or a measure is handed
// to it whole, as one step to undo. Points are fractions of the picture's width and
// height; lengths come from the document, in the user's unit once calibrated. The
// page shows the status texts and opens the popup: this object only reports what a
// click did.
QtObject {
    id: measures

    // The picture's own size, or the drawing area's while there is no picture.
    property size pictureSize: Qt.size(0, 0)
    readonly property MeasurementDocument document: MeasurementDocument {
        pictureSize: measures.pictureSize
    }

    readonly property bool calibrated: document.calibrated
    readonly property real calibrationFactor: document.lengthFactor
    // The length typed for the calibration, in the user's unit.
    readonly property real reference: document.reference
    property bool calibrating: false
    property bool measuring: false
    readonly property bool hasItems: document.measures.count > 0 || measuring
    // While calibrating, the two points being placed; otherwise the document's.
    property var calibration: newCalibration()
    // The document's measures as the overlay and the list read them ({ start, end,
    // cachedLength }), and the one being placed last, while it is.
    property var items: []
    property var pendingItem: null

    // The measure selected by a click on it or in the list; -1 for none.
    property int selected: -1

    // The picture the measures were taken on, as its source.
    property string picture: ""

    // which: "calibrationStart", "calibrationEnd", "measureStart" or "measureEnd".
    signal pointPlaced(string which)
    // Kept for the readers that follow lengths: they change with the items.
    signal lengthsUpdated()

    property Connections documentWatch: Connections {
        target: measures.document.measures
        function onDataChanged(topLeft, bottomRight) {
            if (topLeft.row === bottomRight.row)
                measures.refreshItem(topLeft.row)
            else
                measures.refreshItems()
        }
        function onRowsInserted() { measures.refreshItems() }
        function onRowsRemoved() { measures.refreshItems() }
        function onModelReset() { measures.refreshItems() }
    }
    property Connections calibrationWatch: Connections {
        target: measures.document
        function onCalibrationChanged() { measures.refreshCalibration() }
    }
    onCalibratingChanged: refreshCalibration()
    onPendingItemChanged: refreshItems()

    function newPoint(x, y) {
        return { "x": x, "y": y }
    }
    function unsetPoint() {
        return newPoint(-1, -1)
    }
    function newCalibration() {
        return { "start": unsetPoint(), "end": unsetPoint() }
    }
    function isSet(point) {
        return point !== null && point !== undefined && point.x >= 0
    }

    function refreshCalibration() {
        if (calibrating)
            return
        var start = document.calibrationStart
        var end = document.calibrationEnd
        calibration = { "start": newPoint(start.x, start.y), "end": newPoint(end.x, end.y) }
    }

    function itemAt(row) {
        var values = document.measures.get(row)
        return {
            "start": newPoint(values.start.x, values.start.y),
            "end": newPoint(values.end.x, values.end.y),
            "cachedLength": values.length
        }
    }

    // One measure changed (a point dragged or nudged): only its entry is made again.
    function refreshItem(row) {
        var list = items.slice()
        list[row] = itemAt(row)
        items = list
        lengthsUpdated()
    }

    function refreshItems() {
        var model = document.measures
        if (selected >= model.count)
            selected = -1
        var list = []
        for (var row = 0; row < model.count; ++row)
            list.push(itemAt(row))
        if (pendingItem)
            list.push(pendingItem)
        items = list
        lengthsUpdated()
    }

    // A point named by its place: row >= 0 a measure of the document, -1 the
    // calibration, -2 the measure being placed; index 0 its start, 1 its end.
    function pointAt(row, index) {
        if (row === -2)
            return pendingItem ? (index === 0 ? pendingItem.start : pendingItem.end) : unsetPoint()
        if (row === -1)
            return index === 0 ? calibration.start : calibration.end
        var item = items[row]
        return item ? (index === 0 ? item.start : item.end) : unsetPoint()
    }

    // By whole picture pixels, kept on the picture. Points being placed move here;
    // the document's are moved by the document, as a step to undo.
    function nudgePoint(row, index, dx, dy) {
        if (pictureSize.width <= 0 || pictureSize.height <= 0)
            return
        if (row >= 0 || (row === -1 && !calibrating)) {
            document.nudgePoint(row, index, dx, dy)
            return
        }
        var point = pointAt(row, index)
        if (!isSet(point))
            return
        point.x = Math.min(1, Math.max(0, point.x + dx / pictureSize.width))
        point.y = Math.min(1, Math.max(0, point.y + dy / pictureSize.height))
    }

    // To a place given as fractions of the picture; the document's points as a step
    // to undo, merged with the rest of the drag.
    function movePoint(row, index, x, y) {
        if (row >= 0 || (row === -1 && !calibrating)) {
            document.movePoint(row, index, Qt.point(x, y))
            return
        }
        var point = pointAt(row, index)
        if (isSet(point)) {
            point.x = x
            point.y = y
        }
    }

    // The selected measure goes, as a step to undo.
    function removeSelected() {
        if (selected < 0 || selected >= document.measures.count)
            return false
        document.removeMeasure(selected)
        selected = -1
        return true
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
            pointPlaced("calibrationStart")
            return true
        }
        if (!isSet(calibration.end)) {
            calibration.end = point
            pointPlaced("calibrationEnd")
            return true
        }
        return false
    }

    function placeMeasurePoint(point) {
        if (!isSet(pendingItem.start)) {
            pendingItem.start = point
            refreshItems()
            pointPlaced("measureStart")
            return true
        }
        var start = pendingItem.start
        measuring = false
        pendingItem = null
        document.addMeasure("distance", [Qt.point(start.x, start.y), Qt.point(point.x, point.y)])
        pointPlaced("measureEnd")
        return true
    }

    // Placing starts afresh; what the document holds stays until a calibration is
    // accepted, so that Cancel loses nothing.
    function startCalibration() {
        cancelPlacing()
        calibration = newCalibration()
        calibrating = true
    }

    function cancelPlacing() {
        calibrating = false
        measuring = false
        pendingItem = null
    }

    // Every measure and the calibration go, as one step that can be undone.
    function reset() {
        cancelPlacing()
        document.clearMeasures()
    }

    function addItem() {
        pendingItem = { "start": unsetPoint(), "end": unsetPoint(), "cachedLength": 0 }
        measuring = true
    }

    // The measure being placed, or else the last one placed.
    function popItem() {
        if (measuring) {
            cancelPlacing()
            return
        }
        if (document.measures.count > 0)
            document.removeMeasure(document.measures.count - 1)
    }

    // Two points coinciding give no factor: false then, and nothing changes.
    function calibrate(reference, unit) {
        return document.calibrate(Qt.point(calibration.start.x, calibration.start.y),
                                  Qt.point(calibration.end.x, calibration.end.y), reference,
                                  unit === undefined ? document.unit : unit)
    }
}
