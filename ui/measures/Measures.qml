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
    // The document's measures as the overlay and the list read them ({ kind, points,
    // start, end, cachedLength, angle }: start and end are the first and last points,
    // an angle's vertex lies between them), and the one being placed last, while it is.
    property var items: []
    property var pendingItem: null

    // The measure selected by a click on it or in the list; -1 for none.
    property int selected: -1

    // The picture the measures were taken on, as its source.
    property string picture: ""

    // which: "calibrationStart", "calibrationEnd", "measureStart", "measureVertex" (an
    // angle's middle point) or "measureEnd".
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

    // Every point unset; each kind has its own number of points.
    function newItem(kind) {
        var points = []
        for (var i = 0; i < (kind === "angle" ? 3 : 2); ++i)
            points.push(unsetPoint())
        return { "kind": kind, "points": points, "start": points[0],
                 "end": points[points.length - 1], "cachedLength": 0, "angle": 0 }
    }

    function itemAt(row) {
        var values = document.measures.get(row)
        var points = values.points.map(function (p) { return newPoint(p.x, p.y) })
        return {
            "kind": values.kind,
            "points": points,
            "start": points[0],
            "end": points[points.length - 1],
            "cachedLength": values.length,
            "angle": values.angle
        }
    }

    // The point a loupe's guide runs to from the given one: the other end of a
    // distance, an angle's vertex from either end, and its first end from the vertex.
    function neighbourOf(row, index) {
        var item = row === -2 ? pendingItem : row >= 0 ? items[row] : null
        if (item && item.kind === "angle")
            return pointAt(row, index === 1 ? 0 : 1)
        return pointAt(row, 1 - index)
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
    // calibration, -2 the measure being placed; index the point's place in its
    // measure (the calibration's 0 start and 1 end).
    function pointAt(row, index) {
        if (row === -1)
            return index === 0 ? calibration.start : calibration.end
        var item = row === -2 ? pendingItem : items[row]
        return item && item.points[index] ? item.points[index] : unsetPoint()
    }

    // The latest point of the measure being placed: the segment being drawn starts there.
    function lastPlacedPoint() {
        var points = pendingItem ? pendingItem.points : []
        for (var i = points.length - 1; i >= 0; --i) {
            if (isSet(points[i]))
                return points[i]
        }
        return unsetPoint()
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

    // The points fill in order; the last one hands the measure to the document.
    function placeMeasurePoint(point) {
        var points = pendingItem.points
        var index = 0
        while (isSet(points[index]))
            ++index
        if (index < points.length - 1) {
            points[index] = point
            pendingItem.start = points[0]
            refreshItems()
            pointPlaced(index === 0 ? "measureStart" : "measureVertex")
            return true
        }
        var kind = pendingItem.kind
        var placed = points.slice(0, index).map(function (p) { return Qt.point(p.x, p.y) })
        placed.push(Qt.point(point.x, point.y))
        measuring = false
        pendingItem = null
        document.addMeasure(kind, placed)
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

    // kind: "distance" (the default) or "angle".
    function addItem(kind) {
        pendingItem = newItem(kind || "distance")
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
