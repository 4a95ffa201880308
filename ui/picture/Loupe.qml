import QtQuick 2.15
import Orvalith 1.0

// A magnified view of the picture around one point, drawn from the picture's own
// pixels (the decoded picture at full resolution, only the part in view), never by
// enlarging what the screen shows. A thin cross, white
// edged in black so that it shows on any picture, marks the point itself; a segment runs
// from it towards the other end of the segment being placed, when there is one, and the
// guide line or sector edge being dragged runs through it.
Item {
    id: loupe

    property url source: ""
    // The picture's size in pixels, and how many screen pixels one of them takes on
    // the canvas.
    property size pictureSize: Qt.size(0, 0)
    property real screenScale: 1
    // Points in picture pixels; the segment's other end may be null.
    property point focusPoint: Qt.point(0, 0)
    property var segmentEnd: null
    property color segmentColor: "red"
    // A line being dragged: a point it passes through, in picture pixels, and its
    // direction on screen in degrees (clockwise from the right); null for none.
    property var guide: null
    property color guideColor: "magenta"
    // Screen pixels per picture pixel, changed by the wheel over the loupe or by + and
    // - (see zoomIn, zoomOut) and kept for the next run; times the canvas's own
    // enlargement of a small picture, so that the loupe never shows less than it.
    readonly property int smallestMagnification: 2
    readonly property int largestMagnification: 16
    property alias magnification: stored.magnification
    readonly property real zoom: magnification * Math.max(1, screenScale)

    function setMagnification(value) {
        magnification = Math.max(smallestMagnification, Math.min(largestMagnification, value))
    }

    function zoomIn() {
        setMagnification(magnification * 2)
    }

    function zoomOut() {
        setMagnification(magnification / 2)
    }

    StoredSettings {
        id: stored
        category: "Loupe"
        property int magnification: 4
    }

    // A stored value from elsewhere is brought into the range.
    Component.onCompleted: setMagnification(magnification)

    width: 160
    height: 160
    clip: true

    Rectangle {
        anchors.fill: parent
        color: "black"
    }

    PictureRegion {
        id: picture
        objectName: "loupePicture"
        anchors.fill: parent
        source: loupe.visible ? loupe.source : ""
        origin: Qt.point(Math.round(loupe.width / 2 - loupe.focusPoint.x * loupe.zoom),
                         Math.round(loupe.height / 2 - loupe.focusPoint.y * loupe.zoom))
        zoom: loupe.zoom
    }

    Rectangle {
        readonly property real dx: loupe.segmentEnd
                                   ? (loupe.segmentEnd.x - loupe.focusPoint.x) * loupe.zoom : 0
        readonly property real dy: loupe.segmentEnd
                                   ? (loupe.segmentEnd.y - loupe.focusPoint.y) * loupe.zoom : 0
        visible: loupe.segmentEnd !== null
        x: loupe.width / 2
        y: loupe.height / 2
        width: Math.sqrt(dx * dx + dy * dy)
        height: 1
        color: loupe.segmentColor
        transformOrigin: Item.Left
        rotation: Math.atan2(dy, dx) * 180 / Math.PI
    }

    // Long enough to cross the loupe wherever it passes, centred on the point of
    // the line nearest to the loupe's centre.
    Rectangle {
        objectName: "loupeGuide"
        readonly property real angle: loupe.guide ? loupe.guide.angle * Math.PI / 180 : 0
        readonly property real px: loupe.guide ? (loupe.guide.through.x - loupe.focusPoint.x)
                                                 * loupe.zoom : 0
        readonly property real py: loupe.guide ? (loupe.guide.through.y - loupe.focusPoint.y)
                                                 * loupe.zoom : 0
        readonly property real along: px * Math.cos(angle) + py * Math.sin(angle)
        visible: loupe.guide !== null
        width: 3 * loupe.width
        height: 1
        x: loupe.width / 2 + px - along * Math.cos(angle) - width / 2
        y: loupe.height / 2 + py - along * Math.sin(angle)
        color: loupe.guideColor
        rotation: loupe.guide ? loupe.guide.angle : 0
    }

    // The cross leaves the pixel under the point itself uncovered; each arm is white
    // inside a black edge one pixel wide.
    Repeater {
        model: [[-13, 0, 10, 1], [4, 0, 10, 1], [0, -13, 1, 10], [0, 4, 1, 10]]
        Rectangle {
            x: loupe.width / 2 + modelData[0] - 1
            y: loupe.height / 2 + modelData[1] - 1
            width: modelData[2] + 2
            height: modelData[3] + 2
            color: "black"

            Rectangle {
                x: 1
                y: 1
                width: modelData[2]
                height: modelData[3]
                color: "white"
            }
        }
    }

    // One notch away from the user doubles the magnification, one towards halves it.
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.NoButton
        onWheel: {
            if (wheel.angleDelta.y > 0)
                loupe.zoomIn()
            else if (wheel.angleDelta.y < 0)
                loupe.zoomOut()
        }
    }

    Rectangle {
        anchors.fill: parent
        color: "transparent"
        border.color: "white"
        border.width: 1
    }
}
