import QtQuick 2.15
import Orvalith 1.0

// The picture enlarged in its drawing area: Ctrl and the wheel, + and - (keys the
// loupe takes while it shows) and the View menu zoom about the pointer, from the
// whole picture up to 8 screen pixels per picture pixel. The view (see PictureView)
// moves only what the screen shows: the drawing area, the canvas and every stored
// position stay as they are, and a capture for the export shows the whole picture.
// The enlarged part is drawn from the picture's own pixels at the screen's
// resolution; the fitted copy, enlarged, fills in until it is ready.
Item {
    id: room

    // The drawing area, the page's image and its fitted copy, the overlay over them,
    // and the pointer's area (for zooming about the pointer).
    property Item area: null
    property Item overlay: null
    property Image image: null
    property Item preview: null
    property MouseArea pointerArea: null
    readonly property alias view: pictureView
    readonly property alias picture: zoomedPicture
    // The export captures the whole picture, fitted, whatever the view.
    readonly property bool capturing: preview !== null && preview.capturing
    // One wheel notch, or one key: this much closer.
    readonly property real step: Math.SQRT2

    PictureView {
        id: pictureView
        objectName: "pictureView"
        pictureSize: room.image && room.image.sourceSize.width > 0 ? room.image.sourceSize
                                                                    : Qt.size(0, 0)
        areaSize: room.area ? Qt.size(room.area.width, room.area.height) : Qt.size(0, 0)
    }

    // Under the overlay, over the fitted copy (see Component.onCompleted).
    ZoomedPicture {
        id: zoomedPicture
        objectName: "zoomedPicture"
        parent: room.area
        anchors.fill: parent
        visible: !pictureView.fitted && !room.capturing && room.image !== null
                 && room.image.status === Image.Ready
        source: visible ? room.image.source : ""
        origin: pictureView.offset
        zoom: pictureView.scale
        // Painted at the screen's resolution: its texture is shown pixel for pixel.
        smooth: false
    }

    // The fitted copy follows the view, enlarged: it shows until the part in view is
    // ready, and where a move has uncovered what that part does not hold yet. It is
    // not drawn behind a ready part.
    Scale {
        id: previewScale
        xScale: room.capturing ? 1 : pictureView.zoom
        yScale: xScale
    }

    Translate {
        id: previewShift
        x: room.capturing ? 0 : pictureView.offset.x
        y: room.capturing ? 0 : pictureView.offset.y
    }

    // The fitted copy has the screen's pixels one for one and is sampled as it is,
    // the cheaper way for a software renderer at every frame; enlarged, it is smoothed.
    Binding {
        target: room.preview
        property: "smooth"
        value: !pictureView.fitted
    }

    Binding {
        target: room.preview
        property: "opacity"
        value: zoomedPicture.visible && zoomedPicture.ready ? 0 : 1
    }

    Component.onCompleted: {
        zoomedPicture.placeUnder(overlay)
        if (preview)
            preview.transform = [previewScale, previewShift]
    }

    // About the pointer while it is over the picture, else about the middle.
    function pointerOrMiddle() {
        if (pointerArea && pointerArea.containsMouse)
            return Qt.point(pointerArea.mouseX, pointerArea.mouseY)
        return Qt.point(pictureView.areaSize.width / 2, pictureView.areaSize.height / 2)
    }

    function zoomIn() {
        pictureView.zoomAbout(pointerOrMiddle(), step)
    }

    function zoomOut() {
        pictureView.zoomAbout(pointerOrMiddle(), 1 / step)
    }

    function fit() {
        pictureView.fit()
    }

    function actualPixels() {
        pictureView.actualPixels()
    }

    // A notch away from the user zooms in; finer wheels zoom by their share of a notch.
    function wheel(wheel) {
        if (wheel.angleDelta.y === 0)
            return false
        pictureView.zoomAbout(Qt.point(wheel.x, wheel.y), Math.pow(step, wheel.angleDelta.y / 120))
        return true
    }

    // + ("=" is + without Shift on many keyboards) and -; Ctrl+0 and Ctrl+1 where the
    // window's menu does not take them first.
    function handleKey(key, modifiers) {
        if ((modifiers & (Qt.ControlModifier | Qt.AltModifier | Qt.MetaModifier)) === 0) {
            if (key === Qt.Key_Plus || key === Qt.Key_Equal)
                zoomIn()
            else if (key === Qt.Key_Minus)
                zoomOut()
            else
                return false
            return true
        }
        if ((modifiers & Qt.ControlModifier) === 0)
            return false
        if (key === Qt.Key_0)
            fit()
        else if (key === Qt.Key_1)
            actualPixels()
        else
            return false
        return true
    }
}
