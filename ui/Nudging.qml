import QtQuick 2.15
import "pointer.js" as Pointer

// What the arrow keys move, for placement finer than the pointer allows. Right after
// a point is placed: that point, by one picture pixel (ten with Shift). After the
// guide line or a sector edge was taken: that item, by a tenth of a degree (one with
// Shift); mouse drags keep whole degrees. Taking anything else, or end(), stops it.
QtObject {
    property var measures: null
    // The sliders that hold the guide line's and the sector's angles.
    property var lineSlider: null
    property var rotationSlider: null
    property var angleSlider: null

    property var point: null
    property var item: null // the measure the point belongs to, if any
    property var otherEnd: null // the other end of the point's segment, if any
    property int edge: 0 // 1 the guide line, 2 the sector's rotation edge, 3 its angle edge
    // Whether the point has been moved since the pointer last did.
    property bool moved: false
    readonly property bool active: point !== null || edge !== 0

    // After every step the keys take.
    signal stepped()

    function takePoint(newPoint, newItem, newOtherEnd) {
        point = newPoint
        item = newItem
        otherEnd = newOtherEnd
        edge = 0
        moved = false
    }

    function takeEdge(mode) {
        takePoint(null, null, null)
        edge = mode
    }

    function end() {
        takeEdge(0)
    }

    // True when the key was an arrow and moved something.
    function handleKey(key, modifiers) {
        var dx = key === Qt.Key_Right ? 1 : key === Qt.Key_Left ? -1 : 0
        var dy = key === Qt.Key_Down ? 1 : key === Qt.Key_Up ? -1 : 0
        if ((dx === 0 && dy === 0) || !active)
            return false
        var coarse = (modifiers & Qt.ShiftModifier) !== 0
        if (point) {
            measures.nudgePoint(point, item, dx * (coarse ? 10 : 1), dy * (coarse ? 10 : 1))
            moved = true
        } else {
            turnEdge((dx - dy) * (coarse ? 1 : 0.1))
        }
        stepped()
        return true
    }

    // Right and up turn counter-clockwise, as the angles count.
    function turnEdge(delta) {
        var slider = edge === 1 ? lineSlider : edge === 2 ? rotationSlider : angleSlider
        slider.value = Pointer.turned(slider.value, delta, edge === 1 ? 180 : 360)
    }
}
