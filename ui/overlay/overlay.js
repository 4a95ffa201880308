.pragma library

// The overlay drawn over the picture, as plain functions of a 2D context and the
// values to draw; nothing is kept between runs. `v` holds:
//   w, h: the canvas size; cx, cy, r: the circle's centre and radius in canvas pixels;
//   border: from the centre to the nearest canvas edge; reach: a length beyond any edge;
//   font, textSize, textPadding, textColor, mainColor, circleWidth, angleStep10;
//   line { visible, rotation, color, width }; sector { visible, rotation, angle, color,
//   width }; measureColor; calibrating; calibration { start, end }; items (measures);
//   pointer { x, y }: where a segment whose end is not placed yet ends;
//   haloColor, haloWidth: the outline around every text; decimalPoint, unit: how
//   lengths are written; fitPoints: the points of a circle being fitted;
//   plannedAxis: the planned axis in degrees, or -1 for none;
//   viewX, viewY (on screen only, see throughView): where the picture's top left
//   corner lies on the canvas.

// The values as the screen shows them through the picture's view: the overlay of a
// canvas `zoom` times the size, whose top left corner lies at `offset` on the real
// canvas (the pointer is given in the real canvas's pixels). The layers draw them
// translated by (viewX, viewY), at the screen's own resolution: lines and numbers
// keep their width and size, and stay sharp, at any zoom. Nothing of the view
// reaches the export, which draws the values as they are.
function throughView(v, zoom, offset) {
    var seen = {}
    for (var name in v)
        seen[name] = v[name]
    seen.w = v.w * zoom
    seen.h = v.h * zoom
    seen.cx = v.cx * zoom
    seen.cy = v.cy * zoom
    seen.r = v.r * zoom
    seen.border = v.border * zoom
    seen.reach = v.reach * zoom * zoom
    seen.pointer = { "x": v.pointer.x - offset.x, "y": v.pointer.y - offset.y }
    seen.viewX = offset.x
    seen.viewY = offset.y
    return seen
}

function paint(ctx, v) {
    paintGraduationLayer(ctx, v)
    paintGuidesLayer(ctx, v)
    paintMarksLayer(ctx, v)
}

// The same drawing in three parts, bottom to top, for a screen that repaints only
// the parts whose values changed (see OverlayLayers.qml).
function paintGraduationLayer(ctx, v) {
    setStyles(ctx, v)
    paintCross(ctx, v)
    paintCircle(ctx, v)
    paintGraduation(ctx, v)
}

function paintGuidesLayer(ctx, v) {
    setStyles(ctx, v)
    if (v.line.visible)
        paintGuideLine(ctx, v)
    if (v.sector.visible)
        paintSector(ctx, v)
    if (v.plannedAxis >= 0)
        paintPlannedAxis(ctx, v)
}

function paintMarksLayer(ctx, v) {
    setStyles(ctx, v)
    if (v.calibrating)
        paintCalibration(ctx, v)
    paintMeasures(ctx, v)
    paintFitPoints(ctx, v)
}

function isSet(point) {
    return point.x >= 0
}

// The fill style stays the text colour for the whole run: only numbers are filled.
function setStyles(ctx, v) {
    ctx.fillStyle = v.textColor
    ctx.font = v.font
    ctx.strokeStyle = v.mainColor
    ctx.textAlign = "center"
    ctx.textBaseline = "middle"
}

function toPixels(point, v) {
    return { "x": point.x * v.w, "y": point.y * v.h }
}

// Adds a segment from (x, y) outwards at the canvas angle theta to the path.
function addRay(ctx, x, y, theta, reach) {
    ctx.moveTo(x, y)
    ctx.lineTo(x + reach * Math.cos(theta), y + reach * Math.sin(theta))
}

// Clears a box around the text so that the picture shows behind it, then writes it
// over its outline.
function writeClearedText(ctx, v, text, x, y) {
    var tw = ctx.measureText(text).width
    var pad = v.textPadding + v.haloWidth / 2
    ctx.clearRect(x - tw / 2 - pad, y - v.textSize / 2 - pad, tw + 2 * pad, v.textSize + 2 * pad)
    ctx.save()
    ctx.strokeStyle = v.haloColor
    ctx.lineWidth = v.haloWidth
    ctx.lineJoin = "round"
    ctx.strokeText(text, x, y)
    ctx.restore()
    ctx.fillText(text, x, y)
}

// One decimal and the user's decimal sign, as the list writes lengths, and the unit.
function lengthText(length, v) {
    var number = length.toFixed(1).replace(".", v.decimalPoint)
    return v.unit === "" ? number : number + " " + v.unit
}

function paintCross(ctx, v) {
    ctx.lineWidth = v.circleWidth + 1
    ctx.beginPath()
    ctx.moveTo(0, v.cy)
    ctx.lineTo(v.w, v.cy)
    ctx.moveTo(v.cx, 0)
    ctx.lineTo(v.cx, v.h)
    ctx.stroke()
}

function paintCircle(ctx, v) {
    ctx.beginPath()
    ctx.arc(v.cx, v.cy, v.r, 0, 2 * Math.PI)
    ctx.stroke()
}

// Numbers every 5 degrees where there is room around the circle, else every 10 or 20.
function angleStepTextModulus(distanceToBorder, h) {
    if (distanceToBorder > 0.3 * h)
        return 5
    return distanceToBorder > 0.2 * h ? 10 : 20
}

// Rays every 5 or 10 degrees outside the circle, clockwise on screen from the
// right; each carries the user angle of its direction modulo 180 where the
// modulus allows. The cross already lies rightwards and downwards: no ray there.
function paintGraduation(ctx, v) {
    ctx.lineWidth = v.circleWidth
    var textDist = v.border - v.r - 8
    var modulus = angleStepTextModulus(v.border, v.h)
    var step = v.angleStep10 ? 10 : 5
    for (var k = 0; k < 360 / step; ++k) {
        var degrees = k * step
        var theta = degrees * Math.PI / 180
        var cos = Math.cos(theta)
        var sin = Math.sin(theta)
        var px = v.cx + v.r * cos
        var py = v.cy + v.r * sin
        if (degrees !== 0 && degrees !== 90) {
            ctx.beginPath()
            addRay(ctx, px, py, theta, v.reach)
            ctx.stroke()
        }
        var stepDegrees = 360 - degrees
        if (stepDegrees % modulus === 0)
            writeClearedText(ctx, v, String(stepDegrees % 180), px + textDist * cos,
                             py + textDist * sin)
    }
}

// One straight line through the centre at the rotation's user angle.
function paintGuideLine(ctx, v) {
    ctx.strokeStyle = v.line.color
    ctx.lineWidth = v.line.width
    var a = v.line.rotation * Math.PI / 180
    ctx.beginPath()
    addRay(ctx, v.cx, v.cy, -a, v.reach)
    addRay(ctx, v.cx, v.cy, Math.PI - a, v.reach)
    ctx.stroke()
}

// Dashed, in the guide line's colour and width, so that the two axes are told apart
// where they meet.
function paintPlannedAxis(ctx, v) {
    ctx.save()
    ctx.strokeStyle = v.line.color
    ctx.lineWidth = v.line.width
    ctx.setLineDash([6, 4])
    var a = v.plannedAxis * Math.PI / 180
    ctx.beginPath()
    addRay(ctx, v.cx, v.cy, -a, v.reach)
    addRay(ctx, v.cx, v.cy, Math.PI - a, v.reach)
    ctx.stroke()
    ctx.restore()
}

// A small cross on each point clicked for the circle.
function paintFitPoints(ctx, v) {
    var points = v.fitPoints || []
    ctx.lineWidth = 1
    ctx.strokeStyle = v.measureColor
    ctx.beginPath()
    for (var i = 0; i < points.length; ++i) {
        var p = toPixels(points[i], v)
        ctx.moveTo(p.x - 5, p.y)
        ctx.lineTo(p.x + 5, p.y)
        ctx.moveTo(p.x, p.y - 5)
        ctx.lineTo(p.x, p.y + 5)
    }
    ctx.stroke()
}

// Only the two edges; the sector opens counter-clockwise from the rotation edge.
function paintSector(ctx, v) {
    ctx.strokeStyle = v.sector.color
    ctx.lineWidth = v.sector.width
    var r = v.sector.rotation * Math.PI / 180
    var o = v.sector.angle * Math.PI / 180
    ctx.beginPath()
    addRay(ctx, v.cx, v.cy, -r, v.reach)
    addRay(ctx, v.cx, v.cy, -o - r, v.reach)
    ctx.stroke()
}

// A segment from the start to the end, or to the pointer while the end is not
// placed yet, with a small circle at each end. Returns the segment's middle.
function paintSegment(ctx, v, start, end) {
    var s = toPixels(start, v)
    var e = isSet(end) ? toPixels(end, v) : v.pointer
    ctx.beginPath()
    ctx.arc(s.x, s.y, 8, 0, 2 * Math.PI)
    ctx.moveTo(s.x, s.y)
    ctx.lineTo(e.x, e.y)
    ctx.stroke()
    ctx.beginPath()
    ctx.arc(e.x, e.y, 8, 0, 2 * Math.PI)
    ctx.stroke()
    return { "x": (s.x + e.x) / 2, "y": (s.y + e.y) / 2 }
}

function paintCalibration(ctx, v) {
    if (!isSet(v.calibration.start))
        return
    ctx.lineWidth = 1
    ctx.strokeStyle = v.measureColor
    paintSegment(ctx, v, v.calibration.start, v.calibration.end)
}

// Measures come last, over everything else; each length is written at the
// middle of its segment, each angle at its vertex.
function paintMeasures(ctx, v) {
    ctx.lineWidth = 1
    ctx.strokeStyle = v.measureColor
    for (var i = 0; i < v.items.length; ++i) {
        var item = v.items[i]
        if (!isSet(item.start))
            continue
        if (item.kind === "angle") {
            paintAngle(ctx, v, item)
            continue
        }
        var middle = paintSegment(ctx, v, item.start, item.end)
        if (isSet(item.end))
            writeClearedText(ctx, v, lengthText(item.cachedLength, v), middle.x, middle.y)
    }
}

// One decimal and the user's decimal sign, as the list writes angles.
function angleText(degrees, v) {
    return degrees.toFixed(1).replace(".", v.decimalPoint) + "\u00b0"
}

// The two arms (the second one to the pointer while its end is not placed), and once
// complete a small arc between them with the value beyond it, on the angle's bisector.
function paintAngle(ctx, v, item) {
    var vertexPoint = item.points[1]
    if (!isSet(vertexPoint)) {
        paintSegment(ctx, v, item.start, vertexPoint)
        return
    }
    paintSegment(ctx, v, item.start, vertexPoint)
    paintSegment(ctx, v, vertexPoint, item.end)
    if (!isSet(item.end))
        return
    var o = toPixels(vertexPoint, v)
    var a = toPixels(item.start, v)
    var b = toPixels(item.end, v)
    var armA = Math.atan2(a.y - o.y, a.x - o.x)
    var turn = Math.atan2(b.y - o.y, b.x - o.x) - armA
    turn = turn > Math.PI ? turn - 2 * Math.PI : turn < -Math.PI ? turn + 2 * Math.PI : turn
    var shortestArm = Math.min(Math.hypot(a.x - o.x, a.y - o.y), Math.hypot(b.x - o.x, b.y - o.y))
    var radius = Math.max(4, Math.min(24, shortestArm / 2))
    ctx.beginPath()
    ctx.arc(o.x, o.y, radius, armA, armA + turn, turn < 0)
    ctx.stroke()
    var bisector = armA + turn / 2
    var textDistance = radius + v.textSize * 2
    writeClearedText(ctx, v, angleText(item.angle, v), o.x + textDistance * Math.cos(bisector),
                     o.y + textDistance * Math.sin(bisector))
}
