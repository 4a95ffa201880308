import QtQuick 2.15

// The calibration and the measures placed on the picture. Points are fractions of the
// canvas width and height; lengths are in the user's unit once calibrated. The page
// shows the status texts and opens the popup: this object only reports what a click did.
QtObject {
    id: measures

    property bool calibrated: false
    property bool calibrating: false
    property var calibration: newCalibration()
    property real calibrationFactor: 0
    // The length typed for the calibration, in the user's unit.
    property real reference: 0
    property bool measuring: false
    property var items: []
    property bool hasItems: false
    // The picture's own size, or the drawing area's while there is no picture.
    property size pictureSize: Qt.size(0, 0)

    // The picture the measures were taken on, as its source.
    property string picture: ""

    // which: "calibrationStart", "calibrationEnd", "measureStart" or "measureEnd".
    signal pointPlaced(string which)
    // A measure's length changed in place (its end placed or nudged); the items
    // themselves are the same objects, so itemsChanged does not tell.
    signal lengthsUpdated()

    function newPoint(x, y) {
        return { "x": x, "y": y }
    }
    function unsetPoint() {
        return newPoint(-1, -1)
    }
    function newCalibration() {
        return { "start": unsetPoint(), "end": unsetPoint() }
    }
    function newItem() {
        return { "start": unsetPoint(), "end": unsetPoint(), "cachedLength": 0 }
    }
    function isSet(point) {
        return point.x >= 0
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
        var item = items[items.length - 1]
        if (!isSet(item.start)) {
            item.start = point
            pointPlaced("measureStart")
            return true
        }
        item.end = point
        updateLength(item)
        measuring = false
        pointPlaced("measureEnd")
        return true
    }

    function updateLength(item) {
        item.cachedLength = calibrationFactor * pictureDistance(item.start, item.end)
        lengthsUpdated()
    }

    // Points are fractions of the canvas, whose proportions are the picture's; the
    // distance is taken in picture pixels, so that one factor holds in every
    // direction and keeps holding when the window or the tool panel changes size.
    function pictureDistance(start, end) {
        var dx = (end.x - start.x) * pictureSize.width
        var dy = (end.y - start.y) * pictureSize.height
        return Math.sqrt(dx * dx + dy * dy)
    }

    // Moves a placed point by whole picture pixels, kept on the picture, and brings
    // the length of the measure it belongs to (if any) up to date.
    function nudgePoint(point, item, dx, dy) {
        if (pictureSize.width <= 0 || pictureSize.height <= 0)
            return
        point.x = Math.min(1, Math.max(0, point.x + dx / pictureSize.width))
        point.y = Math.min(1, Math.max(0, point.y + dy / pictureSize.height))
        if (item && isSet(item.start) && isSet(item.end))
            updateLength(item)
    }

    function reset() {
        calibrating = false
        calibrated = false
        calibration = newCalibration()
        calibrationFactor = 0
        reference = 0
        measuring = false
        items = []
        hasItems = false
    }

    function addItem() {
        items = items.concat([newItem()])
        hasItems = true
        measuring = true
    }

    // While a measure is being placed, the last item is that incomplete one.
    function popItem() {
        if (items.length > 0)
            items = items.slice(0, -1)
        hasItems = items.length > 0
        measuring = false
    }

    // Two points coinciding give no factor: false then, and nothing changes.
    function calibrate(reference) {
        var distance = pictureDistance(calibration.start, calibration.end)
        if (distance <= 0)
            return false
        calibrationFactor = reference / distance
        measures.reference = reference
        return true
    }
}
