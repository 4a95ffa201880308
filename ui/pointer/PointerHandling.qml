import QtQuick 2.15
import "pointer.js" as Pointer

// What the pointer does on the canvas. A press takes what lies under the pointer at
// that moment, in one order: a placed point, a measure's segment (which it selects),
// the guide line, the sector's rotation edge, its angle edge, the circle. The hand
// cursor and a ring over a point show what a press would take before it; a release
// lets it go, and nothing else continues a drag. Clicks place points while a
// calibration or a measure is being placed, and only then.
QtObject {
    id: pointer

    property var page: null
    property var measures: null
    property var nudging: null
    property Item canvas: null
    property MouseArea area: null
    // Measures › Fit circle, whose clicks are points of the circle's edge.
    property var circleFitting: null
    // The picture's view (see PictureView): the area's pointer positions are points
    // of the view, and everything here works in the canvas's pixels at the whole
    // picture's view, in which the overlay's positions and sizes are kept. Ctrl and
    // the wheel go to `zoom` (see PictureZoom).
    property var view: null
    property var zoom: null

    // What the press took: 0 nothing, 1 the guide line, 2 the sector's rotation edge,
    // 3 its angle edge, 4 the circle, 5 a point (takenRow, takenIndex), 6 a segment.
    property int mouseAction: 0
    property int takenRow: -3
    property int takenIndex: 0
    // What a press would take now; for the ring over a point.
    property var hovered: ({ "action": 0 })
    // Real, not whole pixels: the canvas often starts between two pixel rows, and a
    // rounded pointer would make a dragged circle creep by that fraction each step.
    property real lastX: 0
    property real lastY: 0
    readonly property real itemSelectionAngleOffset: 1
    // Also taken this many pixels across a line, an edge or from a point.
    readonly property real itemSelectionDistance: 6
    // Screen pixels per canvas pixel: the distances above are the screen's.
    readonly property real viewZoom: view ? view.zoom : 1
    readonly property real reach: itemSelectionDistance / viewZoom

    readonly property bool placing: measures.calibrating || measures.measuring
                                    || (circleFitting !== null && circleFitting.active)

    // After a press, a move, a release: the page repaints and places the loupe.
    signal changed()

    function geometry(x, y) {
        return Pointer.geometry(x, y, page.circleX * canvas.width, page.circleY * canvas.height)
    }

    function toCanvas(point) {
        return { "x": point.x * canvas.width, "y": point.y * canvas.height }
    }

    function isNear(point, x, y) {
        if (!measures.isSet(point))
            return false
        var p = toCanvas(point)
        return Math.abs(p.x - x) <= reach && Math.abs(p.y - y) <= reach
    }

    // The latest measure first: it lies over the others.
    function pointAt(x, y) {
        for (var row = measures.items.length - 1; row >= 0; --row) {
            for (var index = 0; index < measures.items[row].points.length; ++index) {
                if (isNear(measures.pointAt(row, index), x, y))
                    return { "action": 5, "row": row, "index": index }
            }
        }
        for (index = 0; index < 2 && !placing; ++index) {
            if (isNear(measures.pointAt(-1, index), x, y))
                return { "action": 5, "row": -1, "index": index }
        }
        return null
    }

    // On a segment (an angle's either arm), or on a distance's length label at the middle.
    function segmentAt(x, y) {
        for (var row = measures.items.length - 1; row >= 0; --row) {
            var points = measures.items[row].points.map(toCanvas)
            for (var i = 0; i + 1 < points.length; ++i) {
                if (Pointer.distanceToSegment(x, y, points[i], points[i + 1]) <= reach)
                    return { "action": 6, "row": row }
            }
            var start = points[0]
            var end = points[1]
            if (points.length === 2 && Math.abs(x - (start.x + end.x) / 2) <= 16 / viewZoom
                    && Math.abs(y - (start.y + end.y) / 2) <= 10 / viewZoom)
                return { "action": 6, "row": row }
        }
        return null
    }

    function isOnGuideLine(p) {
        return page.lineVisibleSwitch.checked
                && Pointer.isOnLine(p, page.lineRotationSlider.value, itemSelectionAngleOffset,
                                    reach)
    }

    function isOnRotationEdge(p) {
        return page.compassVisibleSwitch.checked
                && Pointer.isOnRay(p, page.compassRotationSlider.value, itemSelectionAngleOffset,
                                   reach)
    }

    function isOnAngleEdge(p) {
        var edge = Pointer.secondEdge(page.compassRotationSlider.value,
                                      page.compassAngleSlider.value)
        return page.compassVisibleSwitch.checked
                && Pointer.isOnRay(p, edge, itemSelectionAngleOffset, reach)
    }

    function isInCircle(p) {
        return Pointer.isInCircle(p, page.circleRadiusSlider.value)
    }

    // The one order of taking, for the cursor and the press alike.
    function itemAt(x, y) {
        if (placing)
            return { "action": 0 }
        var point = pointAt(x, y)
        if (point)
            return point
        var segment = segmentAt(x, y)
        if (segment)
            return segment
        var p = geometry(x, y)
        var action = isOnGuideLine(p) ? 1 : isOnRotationEdge(p) ? 2 : isOnAngleEdge(p) ? 3
                                                                : isInCircle(p) ? 4 : 0
        return { "action": action }
    }

    // The left column and top row are ignored: a pointer leaving the canvas there
    // reports a last position of 0.
    function moved(x, y, pressed) {
        if (x === 0 || y === 0)
            return
        nudging.moved = false
        if (pressed && mouseAction !== 0)
            drag(x, y)
        else if (!pressed)
            hover(x, y)
        changed()
    }

    // Nothing is pointed at once the pointer has left the canvas.
    function left() {
        if (!area.containsMouse && !area.pressed)
            hovered = { "action": 0 }
        changed()
    }

    function hover(x, y) {
        hovered = itemAt(x, y)
        area.cursorShape = hovered.action !== 0 ? Qt.PointingHandCursor : Qt.ArrowCursor
    }

    function pressed(x, y) {
        if (x === 0 || y === 0)
            return
        var item = itemAt(x, y)
        hovered = item
        mouseAction = item.action
        area.cursorShape = item.action !== 0 ? Qt.PointingHandCursor : Qt.ArrowCursor
        measures.selected = item.action === 6 ? item.row : -1
        if (item.action === 5) {
            takenRow = item.row
            takenIndex = item.index
            nudging.takePoint(item.row, item.index)
        } else if (item.action >= 1 && item.action <= 3) {
            nudging.takeEdge(item.action)
        } else if (item.action === 4) {
            lastX = x
            lastY = y
            nudging.takeCircle()
        } else if (!placing && nudging.active) {
            nudging.end()
        } else {
            return // nothing taken, nothing let go: nothing to repaint
        }
        changed()
    }

    function released() {
        var held = mouseAction
        mouseAction = 0
        measures.document.endStep()
        if (held !== 0)
            changed()
    }

    function drag(x, y) {
        var p = geometry(x, y)
        if (mouseAction === 1)
            page.lineRotationSlider.value = Math.round(p.betadeg)
        else if (mouseAction === 2)
            page.compassRotationSlider.value = Math.round(p.gammadeg)
        else if (mouseAction === 3)
            page.compassAngleSlider.value = Pointer.openingTo(page.compassRotationSlider.value,
                                                              Math.round(p.gammadeg))
        else if (mouseAction === 4)
            dragCircle(p, x, y)
        else if (mouseAction === 5)
            measures.movePoint(takenRow, takenIndex, Math.min(1, Math.max(0, x / canvas.width)),
                               Math.min(1, Math.max(0, y / canvas.height)))
    }

    // Keeps a centre coordinate far enough from both edges; where the canvas is too
    // small for both, the far edge wins.
    function limitCentre(value, limit, size) {
        return Math.min(Math.max(value, limit), size - limit)
    }

    // The circle moves by the pointer's movement since the previous step, so it does
    // not jump to the pointer when taken.
    function dragCircle(p, x, y) {
        var limit = page.circleRadiusSlider.value + page.circleMargin
        var cx = limitCentre(p.cx + x - lastX, limit, canvas.width)
        var cy = limitCentre(p.cy + y - lastY, limit, canvas.height)
        page.setCircleCentre(cx / canvas.width, cy / canvas.height)
        lastX = x
        lastY = y
    }

    // With Ctrl held the wheel zooms, also while points are being placed. Without a
    // modifier one notch (120) away from the user enlarges the circle by 2 pixels;
    // only with the pointer in the circle, and not while placing points.
    function wheel(wheel) {
        if (wheel.modifiers === Qt.ControlModifier && zoom) {
            wheel.accepted = zoom.wheel(wheel)
            return
        }
        if (placing || wheel.modifiers !== Qt.NoModifier)
            return
        var at = fromView(wheel.x, wheel.y)
        if (wheel.x === 0 || wheel.y === 0 || !isInCircle(geometry(at.x, at.y)))
            return
        page.circleRadiusSlider.value = page.circleRadiusSlider.value + 2 * wheel.angleDelta.y / 120
        wheelBurst.restart()
    }

    // A pause in the wheel ends its step.
    property Timer wheelBurst: Timer {
        interval: 400
        onTriggered: pointer.measures.document.endStep()
    }

    // Clicks place calibration and measure points while those are being placed.
    function clicked(x, y) {
        if (circleFitting && circleFitting.active) {
            circleFitting.place(x / canvas.width, y / canvas.height)
            changed()
        } else if (placing && measures.placePoint(x / canvas.width, y / canvas.height)) {
            changed()
        }
    }

    // A point of the view, in the canvas's pixels at the whole picture's view.
    function fromView(x, y) {
        if (!view || view.fitted)
            return { "x": x, "y": y }
        var fraction = view.toFraction(Qt.point(x, y))
        return { "x": fraction.x * canvas.width, "y": fraction.y * canvas.height }
    }

    // The area's left column and top row stay ignored wherever the view is.
    function onView(x, y, handle) {
        if (x === 0 || y === 0)
            return
        var at = fromView(x, y)
        handle(at.x, at.y)
    }

    property Connections areaEvents: Connections {
        target: pointer.area
        function onPositionChanged(mouse) {
            pointer.onView(mouse.x, mouse.y, function (x, y) {
                pointer.moved(x, y, pointer.area.pressed)
            })
        }
        function onPressed(mouse) { pointer.onView(mouse.x, mouse.y, pointer.pressed) }
        function onReleased() { pointer.released() }
        // Clicks are not filtered: one on the left column places its point at x = 0.
        function onClicked(mouse) {
            var at = pointer.fromView(mouse.x, mouse.y)
            pointer.clicked(at.x, at.y)
        }
        function onWheel(wheel) { pointer.wheel(wheel) }
        function onContainsMouseChanged() { pointer.left() }
    }
}
