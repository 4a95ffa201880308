import QtQuick 2.15

// What the page draws of its picture: a copy scaled to the pixels the screen gives
// it (the area's size times the device pixel ratio), made on the image loader's
// thread. Uploading the whole picture, a hundred megabytes for a photo, held the
// window up for a long moment. The picture itself stays in the page's image, never
// drawn, for the magnifier and the export; the export capture draws it instead.
// Once the area has settled at another size a new copy is asked for, and the one
// drawn meanwhile stays until it is ready: a resize never blanks the picture.
Item {
    id: preview

    property Image picture: null
    property bool capturing: false
    readonly property string source: picture ? picture.source.toString() : ""
    // In the item's own units: the toolkit asks for a source size times the screen's
    // device pixel ratio.
    readonly property size wantedSize: Qt.size(Math.ceil(width), Math.ceil(height))
    // The copy drawn, and the one a new copy is asked of.
    property Image front: null
    readonly property Image back: front === first ? second : first
    // A copy of the picture now shown is drawn.
    readonly property bool drawn: front !== null && front.visible

    onSourceChanged: ask()
    onWantedSizeChanged: settling.restart()

    Binding {
        target: preview.picture
        property: "visible"
        value: false
    }

    // While the export captures the page, the picture itself at its own resolution,
    // from the same decoded picture; made for the capture, and let go after it with
    // its texture.
    Loader {
        anchors.fill: parent
        active: preview.capturing && preview.source !== ""
        sourceComponent: Image {
            source: preview.source
            fillMode: Image.PreserveAspectFit
            autoTransform: true
        }
    }

    Timer {
        id: settling
        interval: 150
        onTriggered: preview.ask()
    }

    function sameSize(a, b) {
        return a.width === b.width && a.height === b.height
    }

    function ask() {
        settling.stop()
        if (source === "" || width < 1 || height < 1) {
            first.source = ""
            second.source = ""
            front = null
            return
        }
        if (front && front.source.toString() === source && sameSize(front.sourceSize, wantedSize))
            return
        var copy = back
        copy.source = ""
        copy.sourceSize = wantedSize
        copy.source = source
    }

    // The other copy is let go as soon as this one is drawn.
    function take(copy) {
        if (copy.status !== Image.Ready || copy.source.toString() !== source)
            return
        var previous = front
        front = copy
        if (previous && previous !== copy)
            previous.source = ""
    }

    Image {
        id: first
        anchors.fill: parent
        smooth: preview.smooth
        asynchronous: true
        autoTransform: true
        cache: false
        visible: preview.front === first && !preview.capturing
                 && source.toString() === preview.source
        onStatusChanged: preview.take(first)
    }

    Image {
        id: second
        anchors.fill: parent
        smooth: preview.smooth
        asynchronous: true
        autoTransform: true
        cache: false
        visible: preview.front === second && !preview.capturing
                 && source.toString() === preview.source
        onStatusChanged: preview.take(second)
    }
}
