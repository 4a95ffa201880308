.pragma library

// What a press would take, or what is held, drawn over the overlay on the screen only
// (the composite never shows it): a ring around a point, the calibration's segment
// while one of its ends is pointed at or held (it is hidden otherwise), and the
// selected measure drawn again, wider; the circle drawn wider while pointed at or
// dragged (the guides' own items widen themselves, see OverlayLayers.qml). `v` holds
// the overlay's values (see overlay.js) and: hovered { action, row, index } as the
// pointer handling names it, held (the same while a point is held by the mouse or the
// keys, or null), selected (a row or -1).

function toPixels(point, v) {
    return { "x": point.x * v.w, "y": point.y * v.h }
}

function pointOf(v, row, index) {
    var owner = row === -1 ? v.calibration : v.items[row]
    if (!owner)
        return null
    var point = row === -1 ? (index === 0 ? owner.start : owner.end) : owner.points[index]
    return point && point.x >= 0 ? point : null
}

function paint(ctx, v) {
    ctx.save()
    ctx.strokeStyle = v.measureColor
    if (v.selected >= 0 && v.items[v.selected])
        paintArms(ctx, v, v.items[v.selected].points, 3)
    // The guides' own items draw theirs (see OverlayLayers.qml).
    if (v.hovered && v.hovered.action === 4)
        paintCircle(ctx, v)
    var target = v.held || (v.hovered && v.hovered.action === 5 ? v.hovered : null)
    if (target) {
        if (target.row === -1 && !v.calibrating)
            paintSegment(ctx, v, v.calibration, 1)
        var point = pointOf(v, target.row, target.index)
        if (point) {
            var p = toPixels(point, v)
            ctx.lineWidth = 2
            ctx.beginPath()
            ctx.arc(p.x, p.y, 12, 0, 2 * Math.PI)
            ctx.stroke()
        }
    }
    ctx.restore()
}

// Each segment between two successive points: a distance's one, an angle's two arms.
function paintArms(ctx, v, points, width) {
    for (var i = 0; i + 1 < points.length; ++i)
        paintSegment(ctx, v, { "start": points[i], "end": points[i + 1] }, width)
}

function paintSegment(ctx, v, segment, width) {
    if (!segment.start || segment.start.x < 0 || !segment.end || segment.end.x < 0)
        return
    var s = toPixels(segment.start, v)
    var e = toPixels(segment.end, v)
    ctx.lineWidth = width
    ctx.beginPath()
    ctx.moveTo(s.x, s.y)
    ctx.lineTo(e.x, e.y)
    ctx.stroke()
}

function paintCircle(ctx, v) {
    ctx.beginPath()
    ctx.strokeStyle = v.mainColor
    ctx.lineWidth = v.circleWidth + 2
    ctx.arc(v.cx, v.cy, v.r, 0, 2 * Math.PI)
    ctx.stroke()
}
