import QtQuick 2.15
import "pointer.js" as Pointer

// What the arrow keys move, for placement finer than the pointer allows. A point just
// placed or taken: that point, by one picture pixel (ten with Shift). The circle once
// taken: its centre, the same way. The guide line or a sector edge once taken: that
// item, by a tenth of a degree (one with Shift); mouse drags keep whole degrees.
// Taking anything else, or end(), stops it. A run of a held key is one step to undo.
QtObject {
    property var measures: null
    // The sliders that hold the guide line's and the sector's angles.
    property var lineSlider: null
    property var rotationSlider: null
    property var angleSlider: null

    // The point taken, as measures.pointAt() names it; row -3 when none is.
    property int row: -3
    property int index: 0
    readonly property var point: row === -3 ? null : measures.pointAt(row, index)
    // The point at the other end of the point's segment, if any.
    readonly property var otherEnd: row === -3 ? null : measures.neighbourOf(row, index)
    property int edge: 0 // 1 the guide line, 2 the sector's rotation edge, 3 its angle edge
    property bool circle: false
    // Whether the point has been moved since the pointer last did.
    property bool moved: false
    readonly property bool active: row !== -3 || edge !== 0 || circle

    // After every step the keys take; moveCircle(dx, dy) asks the page to move the
    // circle's centre by picture pixels.
    signal stepped()
    signal moveCircle(real dx, real dy)

    function takePoint(newRow, newIndex) {
        edge = 0
        circle = false
        index = newIndex
        row = newRow
        moved = false
    }

    function takeEdge(mode) {
        takePoint(-3, 0)
        edge = mode
    }

    function takeCircle() {
        takeEdge(0)
        circle = true
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
        var step = coarse ? 10 : 1
        if (row !== -3) {
            measures.nudgePoint(row, index, dx * step, dy * step)
            moved = true
        } else if (circle) {
            moveCircle(dx * step, dy * step)
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
