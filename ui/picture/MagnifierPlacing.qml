import QtQuick 2.15
import "pointer.js" as Pointer

// The magnifier over the page: shown while a point is being placed (a calibration's,
// a measure's or one of a circle's fit), dragged or nudged and while the guide line
// or a sector edge is dragged; beside the pointer, inside the page, never over it.
// Lies over the whole page and takes no input.
Item {
    id: placing

    property var page: null
    property var measures: null
    property var nudging: null
    property var pointer: null
    property var fitting: null
    property var settings: null
    // The picture's view (see PictureView): the loupe looks at canvas points, which
    // show where the view puts them.
    property var view: null
    readonly property alias loupe: magnifier

    Loupe {
        id: magnifier
        objectName: "magnifier"
        visible: false
        source: placing.page.image.source
        pictureSize: placing.page.image.sourceSize
        screenScale: placing.view ? placing.view.scale
                                  : placing.page.image.sourceSize.width > 0
                                    ? placing.page.canvas.width / placing.page.image.sourceSize.width
                                    : 1
        segmentColor: placing.settings.measureColor
    }

    function update() {
        var image = page.image
        var canvas = page.canvas
        var focus = focusNow()
        magnifier.visible = settings.magnifier && image.status === Image.Ready && focus !== null
        if (!magnifier.visible)
            return
        var toPicture = function (p) {
            return Qt.point(p.x / canvas.width * image.sourceSize.width,
                            p.y / canvas.height * image.sourceSize.height)
        }
        magnifier.focusPoint = toPicture(focus.point)
        magnifier.segmentEnd = focus.other ? toPicture(focus.other) : null
        magnifier.guide = focus.guide ? { "through": toPicture(focus.guide.through),
                                          "angle": focus.guide.angle } : null
        var shown = view ? view.toView(Qt.point(focus.point.x / canvas.width,
                                                focus.point.y / canvas.height)) : focus.point
        var onPage = canvas.mapToItem(placing, shown.x, shown.y)
        var place = Pointer.magnifierPlace(onPage.x, onPage.y, magnifier.width, 24, width, height)
        magnifier.x = place.x
        magnifier.y = place.y
    }

    // + and - while the magnifier shows; "=" is + without Shift on many keyboards.
    function zoom(key) {
        if (!magnifier.visible)
            return false
        if (key === Qt.Key_Plus || key === Qt.Key_Equal)
            magnifier.zoomIn()
        else if (key === Qt.Key_Minus)
            magnifier.zoomOut()
        else
            return false
        return true
    }

    // Where the magnifier looks and the other end of the segment there, if any, in
    // canvas pixels; null when it has nothing to show.
    function focusNow() {
        var canvas = page.canvas
        var area = page.canvasMouseArea
        var toCanvas = function (point) {
            return measures.isSet(point) ? { "x": point.x * canvas.width,
                                             "y": point.y * canvas.height } : null
        }
        if (nudging.point && nudging.moved)
            return { "point": toCanvas(nudging.point), "other": toCanvas(nudging.otherEnd) }
        var at = pointer.fromView(area.mouseX, area.mouseY)
        if ((measures.calibrating || measures.measuring) && area.containsMouse)
            return { "point": at, "other": toCanvas(segmentStartBeingPlaced()) }
        if (fitting && fitting.active && area.containsMouse)
            return { "point": at, "other": null }
        if (!area.pressed)
            return null
        var action = pointer.mouseAction
        if (action === 5)
            return { "point": at,
                     "other": toCanvas(measures.neighbourOf(pointer.takenRow, pointer.takenIndex)) }
        if (action >= 1 && action <= 3)
            return { "point": at, "other": null, "guide": draggedGuide(action) }
        return null
    }

    // The line or edge being dragged, through the circle's centre, at its angle on
    // screen (the overlay draws user angles counter-clockwise).
    function draggedGuide(action) {
        var rotation = page.compassRotationSlider.value
        var angles = [page.lineRotationSlider.value, rotation,
                      rotation + page.compassAngleSlider.value]
        magnifier.guideColor = action === 1 ? page.lineLabel.color : page.compassLabel.color
        return { "through": { "x": page.circleX * page.canvas.width,
                              "y": page.circleY * page.canvas.height },
                 "angle": -angles[action - 1] }
    }

    function segmentStartBeingPlaced() {
        if (measures.calibrating)
            return measures.calibration.start
        return measures.measuring ? measures.lastPlacedPoint() : measures.unsetPoint()
    }
}
