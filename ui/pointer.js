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

function isOnLine(p, rotation, tolerance) {
    return isOnAngle(p.betadeg, rotation, tolerance)
}

function isOnRay(p, direction, tolerance) {
    return isOnAngle(p.gammadeg, direction, tolerance)
}

function isInCircle(p, radius) {
    return p.dist <= radius
}
