import QtQuick 2.15
import Orvalith 1.0

// Measures › Fit circle: points clicked on the limbus (or the pupil's edge) take the
// circle. With three it goes through them; each further point refits it by least
// squares, until Enter or a click on the first point. The whole fit is one step to
// undo; the radius stays within the slider's range, and the status line says when it
// had to be limited.
QtObject {
    id: fitting

    property var page: null
    property var measures: null
    property var status: null

    property bool active: false
    // The points clicked, as fractions of the picture.
    property var points: []
    // A second click this close to the first point, in screen pixels whatever the
    // zoom, ends the fit.
    readonly property real closingDistance: 6

    function start() {
        measures.cancelPlacing()
        points = []
        active = true
        measures.document.startFit()
        status.show(qsTr("Click on at least three points of the circle's edge."), true)
    }

    // False when it was not fitting: the click is somebody else's.
    function cancel() {
        if (!active)
            return false
        finish()
        return true
    }

    function finish() {
        active = false
        points = []
        measures.document.endStep()
        page.canvas.requestPaint()
    }

    // Enter ends the fit.
    function handleKey(key) {
        if (!active || (key !== Qt.Key_Return && key !== Qt.Key_Enter))
            return false
        finish()
        return true
    }

    function isOnFirstPoint(x, y) {
        var first = points[0]
        var zoom = page.view ? page.view.zoom : 1
        return points.length >= 3
                && Math.abs((first.x - x) * page.canvas.width * zoom) <= closingDistance
                && Math.abs((first.y - y) * page.canvas.height * zoom) <= closingDistance
    }

    // x and y: fractions of the canvas, which shows the whole picture.
    function place(x, y) {
        if (isOnFirstPoint(x, y)) {
            finish()
            return
        }
        points = points.concat([Qt.point(x, y)])
        if (points.length >= 3)
            fit()
        page.canvas.requestPaint()
    }

    function fit() {
        var size = measures.pictureSize
        var circle = Geometry.fittedCircle(points, size)
        if (!circle.valid) {
            status.show(qsTr("These points lie on one line: they make no circle."), true)
            return
        }
        var canvas = page.canvas
        var scale = canvas.width / size.width
        var slider = page.circleRadiusSlider
        var cx = circle.centre.x * canvas.width
        var cy = circle.centre.y * canvas.height
        var border = Math.min(cx, canvas.width - cx, cy, canvas.height - cy)
        var largest = Math.max(slider.from, border - page.circleMargin)
        var radius = circle.radius * scale
        var limited = Math.min(largest, Math.max(slider.from, radius))
        measures.document.fitCircle(circle.centre, limited)
        // The range at the new centre, once the radius is in it: narrowed before, it
        // would cut the earlier radius, a step of its own outside the fit's.
        slider.to = largest
        var deviation = Number(circle.deviation).toLocaleString(Qt.locale(), "f", 1)
        if (Math.abs(limited - radius) > 0.5)
            status.show(qsTr("The circle's radius was limited to the slider's range. Largest deviation: %1 picture pixels.").arg(deviation), true)
        else
            status.show(qsTr("Largest deviation: %1 picture pixels. Enter or a click on the first point ends the fit.").arg(deviation), true)
    }
}
