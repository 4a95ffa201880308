import QtQuick 2.15
import Orvalith 1.0

// A magnified view of the picture around one point, drawn from the picture's own
// pixels (the decoded picture at full resolution, only the part in view), never by
// enlarging what the screen shows. A thin cross marks the
// point itself; a segment runs from it towards the other end of the segment being
// placed, when there is one.
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
    // Screen pixels per picture pixel: 1:1, or four times the canvas where that is more.
    readonly property real zoom: Math.max(1, 4 * screenScale)

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

    // The cross leaves the pixel under the point itself uncovered.
    Repeater {
        model: [[-13, 0, 10, 1], [4, 0, 10, 1], [0, -13, 1, 10], [0, 4, 1, 10]]
        Rectangle {
            x: loupe.width / 2 + modelData[0]
            y: loupe.height / 2 + modelData[1]
            width: modelData[2]
            height: modelData[3]
            color: "white"
        }
    }

    Rectangle {
        anchors.fill: parent
        color: "transparent"
        border.color: "white"
        border.width: 1
    }
}
