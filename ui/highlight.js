.pragma library

// What a press would take, or what is held, drawn over the overlay on the screen only
// (the composite never shows it): a ring around a point, the calibration's segment
// while one of its ends is pointed at or held (it is hidden otherwise), and the
// selected measure drawn again, wider; the guide line, a sector edge or the circle
// drawn wider while pointed at or dragged. `v` holds the overlay's values (see overlay.js)
// and: hovered { action, row, index } as the pointer handling names it, held (the
// same while a point is held by the mouse or the keys, or null), selected (a row or -1).

function toPixels(point, v) {
    return { "x": point.x * v.w, "y": point.y * v.h }
}

function pointOf(v, row, index) {
    var owner = row === -1 ? v.calibration : v.items[row]
    if (!owner)
        return null
    var point = index === 0 ? owner.start : owner.end
    return point && point.x >= 0 ? point : null
}

function paint(ctx, v) {
    ctx.save()
    ctx.strokeStyle = v.measureColor
    if (v.selected >= 0 && v.items[v.selected])
        paintSegment(ctx, v, v.items[v.selected], 3)
    if (v.hovered && v.hovered.action >= 1 && v.hovered.action <= 4)
        paintTool(ctx, v, v.hovered.action)
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

// 1 the guide line, 2 the sector's first edge, 3 its second edge, 4 the circle.
function paintTool(ctx, v, action) {
    ctx.beginPath()
    if (action === 4) {
        ctx.strokeStyle = v.mainColor
        ctx.lineWidth = v.circleWidth + 2
        ctx.arc(v.cx, v.cy, v.r, 0, 2 * Math.PI)
    } else {
        var line = action === 1
        var degrees = line ? v.line.rotation : action === 2 ? v.sector.rotation
                                                            : v.sector.rotation + v.sector.angle
        var a = degrees * Math.PI / 180
        var dx = Math.cos(a) * v.reach
        var dy = -Math.sin(a) * v.reach
        ctx.strokeStyle = line ? v.line.color : v.sector.color
        ctx.lineWidth = (line ? v.line.width : v.sector.width) + 2
        ctx.moveTo(line ? v.cx - dx : v.cx, line ? v.cy - dy : v.cy)
        ctx.lineTo(v.cx + dx, v.cy + dy)
    }
    ctx.stroke()
}
