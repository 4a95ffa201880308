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

        // Three points of the drawn limbus (radius 150 about 400, 200) take the circle;
        // a fourth refits it, a click on the first ends the fit, one undo takes it all
        // back. Calibrated at 40 pixels a millimetre, its diameter is 7.5 mm.
        function test_circleFittedToTheLimbus() {
            openPicture("limbus-800x400.png")
            verify(page.document.calibrate(Qt.point(0, 0.5), Qt.point(0.05, 0.5), 1, "mm"))
            var radiusBefore = page.circleRadiusSlider.value
            page.fitCircle()
            mouseMove(page.canvasMouseArea, 550, 200)
            verify(findChild(page, "magnifier").visible, "no magnifier while fitting")
            mouseClick(page.canvasMouseArea, 550, 200)
            mouseClick(page.canvasMouseArea, 400, 350)
            mouseClick(page.canvasMouseArea, 294, 94) // 45 degrees up and left
            verify(Math.abs(page.circleX * 800 - 400) < 0.5 && Math.abs(page.circleY * 400 - 200) < 0.5)
            verify(Math.abs(page.circleRadiusSlider.value - 150) < 0.5, page.circleRadiusSlider.value)
            mouseClick(page.canvasMouseArea, 250, 200)
            verify(page.messageLabel.text.indexOf("Largest deviation: ") === 0, page.messageLabel.text)
            verify(Math.abs(page.circleRadiusSlider.value - 150) < 1)
            mouseClick(page.canvasMouseArea, 550, 200) // the first point again
            verify(!page.canvasMouseArea.pressed)
            compare(page.document.undoText, "Fit circle")
            var listed = entry("Circle diameter")
            verify(listed && Math.abs(listed.value - 7.5) < 0.05, JSON.stringify(listed))
            page.undo()
            compare(page.circleRadiusSlider.value, radiusBefore)
            compare(entry("Circle diameter"), null)
        }

        // A small circle fitted near the edge narrows the radius's range; its undo
        // brings the earlier, larger circle back whole.
        function test_fitNearTheEdgeUndone() {
            openPicture("limbus-800x400.png")
            page.circleRadiusSlider.value = page.circleRadiusSlider.to
            var radiusBefore = page.circleRadiusSlider.value
            page.fitCircle()
            mouseClick(page.canvasMouseArea, 140, 100)
            mouseClick(page.canvasMouseArea, 100, 140)
            mouseClick(page.canvasMouseArea, 60, 100)
            keyClick(Qt.Key_Return)
            verify(page.circleRadiusSlider.to < radiusBefore, page.circleRadiusSlider.to)
            page.undo()
            compare(page.circleRadiusSlider.value, radiusBefore)
            compare(page.document.circleRadius, radiusBefore)
        }

        // Typed in the panel, the planned axis is listed with the misalignment of the
        // guide line from it, and both go into what a saved picture carries.
        function test_plannedAxisAndMisalignment() {
            openPicture("landscape-800x400.png")
            page.lineVisibleSwitch.checked = true
            page.lineRotationSlider.value = 178
            var field = findChild(page, "plannedAxisField")
            mouseClick(field)
            keyClick("2")
            compare(page.document.plannedAxis, 2)
            compare(Number(entry("Planned axis").value).toFixed(1), "2.0")
            compare(Number(entry("Misalignment").value).toFixed(1), "-4.0")
            var record = page.measuresList.exportRecord(new Date())
            verify(record.text.indexOf("Planned axis\t2.0\t\u00b0\nMisalignment\t-4.0\t\u00b0") > 0,
                   record.text)
            verify(page.measuresList.csvText().indexOf("Misalignment,-4.0,\u00b0") > 0)
        }
    }
}
