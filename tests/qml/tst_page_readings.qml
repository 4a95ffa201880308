import QtQuick 2.15
import QtTest 1.2
import Qt.labs.platform 1.1 as Platform
import "qrc:/"
import "pagetest.js" as PageTest

// The readings beyond lengths through the real page: a free angle, a circle fitted to
// the limbus, the planned axis. The page shows the 800 x 400 test pictures on an
// 800 x 400 canvas: a canvas pixel is a picture pixel.
Item {
    id: root
    width: 1100
    height: 1000

    Component {
        id: pageComponent
        MainPage {}
    }

    TestCase {
        name: "PageReadings"
        when: windowShown

        property var page: null
        property var measures: null

        function init() {
            page = createTemporaryObject(pageComponent, root, { "width": 950, "height": 950 })
            verify(page)
            measures = findChild(page, "measures")
            var data = Platform.StandardPaths.writableLocation(Platform.StandardPaths.AppDataLocation)
            page.pictureRecord.store.folder = decodeURIComponent(data.toString().replace("file://", ""))
                    + "/records-" + Date.now()
            waitForRendering(page)
        }

        function openPicture(name) {
            page.openPicture(PageTest.pictureUrl(name))
            tryCompare(page.image, "status", Image.Ready)
            tryCompare(page.canvas, "width", 800)
            compare(page.canvas.height, 400)
        }

        // A click beside the picture pixel, then the arrow keys onto it.
        function placeByClickAndKeys(x, y) {
            mouseClick(page.canvasMouseArea, x + 3, y - 2)
            for (var i = 0; i < 3; ++i)
                keyClick(Qt.Key_Left)
            keyClick(Qt.Key_Down, Qt.ShiftModifier)
            for (i = 0; i < 8; ++i)
                keyClick(Qt.Key_Up)
        }

        function entry(what) {
            var entries = page.measuresList.entries
            for (var i = 0; i < entries.length; ++i) {
                if (entries[i].what === what)
                    return entries[i]
            }
            return null
        }

        // The drawn angle of 122.4 degrees, its ends and vertex found by three clicks
        // and the keys; it needs no calibration, is listed, selected on an arm,
        // deleted and brought back.
        function test_freeAngle() {
            openPicture("angle-800x400.png")
            verify(!page.calibrated)
            page.addMeasure("angle")
            compare(page.messageLabel.text, "Click on one end of the angle.")
            placeByClickAndKeys(700, 330)
            compare(page.messageLabel.text, "Click on the vertex.")
            placeByClickAndKeys(400, 330)
            compare(page.messageLabel.text, "Click on the other end.")
            placeByClickAndKeys(268, 122)
            verify(!page.measuring)

            var angle = page.document.measures.angle(0)
            verify(Math.abs(angle - 122.4) < 0.1, "measured " + angle)
            var listed = entry("Angle 1")
            verify(listed)
            compare(Number(listed.value).toFixed(1), "122.4")
            verify(page.measuresList.csvText().indexOf("Angle 1,122.4,\u00b0") >= 0)

            mouseClick(page.canvasMouseArea, 550, 330) // on the first arm
            compare(measures.selected, 0)
            keyClick(Qt.Key_Delete)
            compare(page.document.measures.count, 0)
            page.undo()
            compare(page.document.measures.count, 1)
            verify(Math.abs(page.document.measures.angle(0) - 122.4) < 0.1)
        }
    }
}
