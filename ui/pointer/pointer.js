.pragma library

// Where the pointer is in relation to the overlay, as plain functions of canvas
// pixels and degrees. User angles run counter-clockwise from the right.

// The pointer (x, y) seen from the centre (cx, cy): alphadeg counter-clockwise from
// the right (-180 to 180), betadeg as a line (0 to 180), gammadeg as a ray (0 to 360).
function geometry(x, y, cx, cy) {
    var dx = x - cx
    var dy = y - cy
    var alphadeg = -Math.atan2(dy, dx) * 180 / Math.PI
    return {
        "cx": cx,
        "cy": cy,
        "dx": dx,
        "dy": dy,
        "betadeg": alphadeg >= 0 ? alphadeg : alphadeg + 180,
        "gammadeg": alphadeg >= 0 ? alphadeg : alphadeg + 360,
        "dist": Math.sqrt(dx * dx + dy * dy)
    }
}

function isOnAngle(degrees, target, tolerance) {
    return Math.abs(degrees - target) <= tolerance
}

// How far the pointer lies across the line through the centre at the user angle
// `degrees`, in canvas pixels; `along` is how far it lies in that direction.
function offsetFrom(p, degrees) {
    var a = degrees * Math.PI / 180
    return {
        "across": Math.abs(p.dx * Math.sin(a) + p.dy * Math.cos(a)),
        "along": p.dx * Math.cos(a) - p.dy * Math.sin(a)
    }
}

// Within `tolerance` degrees of the line's direction, or within `reach` pixels across
// it: near the centre a degree is less than a pixel wide.
function isOnLine(p, rotation, tolerance, reach) {
    return isOnAngle(p.betadeg, rotation, tolerance) || offsetFrom(p, rotation).across <= reach
}

// The same for a ray from the centre, on its own side of the centre only.
function isOnRay(p, direction, tolerance, reach) {
    if (isOnAngle(p.gammadeg, direction, tolerance))
        return true
    var offset = offsetFrom(p, direction)
    return offset.along >= 0 && offset.across <= reach
}

// The sector's second edge, from its first edge and its opening.
function secondEdge(rotation, angle) {
    return (rotation + angle) % 360
}

// The opening from the first edge to a second edge pointing at `direction`, measured
// counter-clockwise (0 to 360).
function openingTo(rotation, direction) {
    return direction >= rotation ? direction - rotation : direction + (360 - rotation)
}

// From (x, y) to the nearest point of the segment between a and b, in the same units.
function distanceToSegment(x, y, a, b) {
    var dx = b.x - a.x
    var dy = b.y - a.y
    var lengthSquared = dx * dx + dy * dy
    var t = lengthSquared > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / lengthSquared : 0
    t = Math.max(0, Math.min(1, t))
    var ex = a.x + t * dx - x
    var ey = a.y + t * dy - y
    return Math.sqrt(ex * ex + ey * ey)
}

function isInCircle(p, radius) {
    return p.dist <= radius
}

// An angle turned by `delta` degrees, kept to tenths and within [0, period): a
// guide line repeats every 180 degrees, a sector edge every 360.
function turned(degrees, delta, period) {
    var tenths = Math.round((degrees + delta) * 10) % (period * 10)
    return (tenths < 0 ? tenths + period * 10 : tenths) / 10
}

// Where a square magnifier of `size` goes for a pointer at (x, y) inside bounds of
// width w and height h: up and to the right of it, `gap` away, or on the other side
// where that would leave the bounds, so that it never covers the pointer.
function magnifierPlace(x, y, size, gap, w, h) {
    var left = x + gap + size <= w ? x + gap : x - gap - size
    var top = y - gap - size >= 0 ? y - gap - size : y + gap
    return {
        "x": Math.max(0, Math.min(left, w - size)),
        "y": Math.max(0, Math.min(top, h - size))
    }
}
