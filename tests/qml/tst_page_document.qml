import QtQuick 2.15
import QtTest 1.2
import Qt.labs.platform 1.1 as Platform
import "qrc:/"
import "pagetest.js" as PageTest

// The picture's measurement document through the real page: its record kept per
// picture, its points taken again with the mouse and the keys, and its steps undone.
// The page shows 800 x 400 pictures on an 800 x 400 canvas; it is tall enough for the
// Measurements list to show three measures without scrolling.
Item {
    id: root
    width: 1100
    height: 1000

    Component {
        id: pageComponent
        MainPage {}
    }

    TestCase {
        name: "PageDocument"
        when: windowShown

        property var page: null
        property var measures: null
        property var popup: null

        function init() {
            page = createTemporaryObject(pageComponent, root, { "width": 950, "height": 950 })
            verify(page)
            measures = findChild(page, "measures")
            popup = findChild(page, "calibrationPopup")
            // Records of earlier runs must not come back.
            var data = Platform.StandardPaths.writableLocation(Platform.StandardPaths.AppDataLocation)
            // On Windows "file:///C:/..." holds the path "C:/...".
            var path = decodeURIComponent(data.toString().replace("file://", ""))
            page.pictureRecord.store.folder = path.replace(/^\/([A-Za-z]:)/, "$1")
                    + "/records-" + Date.now()
            waitForRendering(page)
        }

        function clickCanvas(fx, fy) {
            mouseClick(page.canvasMouseArea, fx * page.canvas.width, fy * page.canvas.height)
        }

        function openPicture(name) {
            var key = page.pictureRecord.store.pictureKey
            page.openPicture(PageTest.pictureUrl(name))
            tryVerify(function () { return page.pictureRecord.store.pictureKey !== ""
                                    && page.pictureRecord.store.pictureKey !== key }, 10000)
            tryCompare(page.image, "status", Image.Ready)
        }

        // The box takes the keys as it opens, the first time too: no click on the field.
        function calibrate(start, end, reference) {
            page.calibrateMeasures()
            clickCanvas(start[0], start[1])
            clickCanvas(end[0], end[1])
            tryCompare(popup, "opened", true)
            String(reference).split("").forEach(function (character) { keyClick(character) })
            keyClick(Qt.Key_Return)
            tryCompare(popup, "visible", false)
            verify(page.calibrated)
        }

        function measure(start, end) {
            page.addMeasure()
            clickCanvas(start[0], start[1])
            clickCanvas(end[0], end[1])
            verify(!page.measuring)
        }

        function lengths() {
            return measures.items.map(function (item) { return Math.round(item.cachedLength * 1000) / 1000 })
        }

        // 320 pixels are 10: the three measures read 5, 10 and 2.5.
        function placeThreeMeasures() {
            calibrate([0.1, 0.5], [0.5, 0.5], 10)
            measure([0.1, 0.1], [0.3, 0.1])
            measure([0.1, 0.2], [0.5, 0.2])
            measure([0.1, 0.3], [0.2, 0.3])
            compare(lengths(), [5, 10, 2.5])
        }

        function drag(from, to) {
            var x0 = from[0] * page.canvas.width, y0 = from[1] * page.canvas.height
            var x1 = to[0] * page.canvas.width, y1 = to[1] * page.canvas.height
            mouseMove(page.canvas, x0 + 30, y0 + 30)
            mouseMove(page.canvas, x0, y0)
            compare(page.canvasMouseArea.cursorShape, Qt.PointingHandCursor)
            mousePress(page.canvas, x0, y0)
            for (var step = 1; step <= 8; ++step)
                mouseMove(page.canvas, x0 + (x1 - x0) * step / 8, y0 + (y1 - y0) * step / 8, -1,
                          Qt.LeftButton)
            mouseRelease(page.canvas, x1, y1)
        }

        // Another picture starts clean, with the reference offered but not put in; the
        // first one opened again has its measures and reference back.
        function test_recordFollowsThePicture() {
            openPicture("landscape-800x400.png")
            placeThreeMeasures()
            page.referenceTextField.text = "Pt 001 OS 2024-12-09"
            page.rightEyeRadioButton.checked = true

            openPicture("wide-2000x1000.jpg")
            verify(!page.calibrated && !page.hasMeasures)
            compare(page.referenceTextField.text, "")
            compare(page.referenceLabel.text, "")
            verify(!page.rightEyeRadioButton.checked)
            var previous = findChild(page, "previousReferenceButton")
            verify(previous.visible)
            mouseClick(previous)
            compare(page.referenceTextField.text, "Pt 001 OS 2024-12-09")

            openPicture("landscape-800x400.png")
            tryCompare(page.messageLabel, "text", "The measures of this picture were restored.")
            compare(lengths(), [5, 10, 2.5])
            verify(page.calibrated)
            compare(page.referenceTextField.text, "Pt 001 OS 2024-12-09")
            verify(page.rightEyeRadioButton.checked)
            verify(!page.document.canUndo, "a restored record is no step")
        }

        // A calibration end dragged changes every length at once; a point clicked moves
        // by the arrow keys; a measure clicked on its segment is selected and Delete
        // removes it; each is one step, undone and redone in turn.
        function test_editingAndUndo() {
            page.image.source = PageTest.pictureUrl("landscape-800x400.png")
            tryCompare(page.image, "status", Image.Ready)
            placeThreeMeasures()

            drag([0.5, 0.5], [0.9, 0.5])
            compare(lengths(), [2.5, 5, 1.25])
            compare(page.document.undoText, "Move point")

            clickCanvas(0.2, 0.3) // the last measure's end
            keyClick(Qt.Key_Right, Qt.ShiftModifier)
            keyClick(Qt.Key_Right)
            compare(lengths(), [2.5, 5, 1.422]) // 91 of 64 pixels a unit
            page.document.endStep()

            clickCanvas(0.3, 0.2) // the middle of the second measure
            compare(measures.selected, 1)
            keyClick(Qt.Key_Delete)
            compare(lengths(), [2.5, 1.422])
            compare(page.document.undoText, "Remove measure")

            page.undo()
            compare(lengths(), [2.5, 5, 1.422])
            page.undo()
            page.undo()
            compare(page.document.undoText, "Move point")
            compare(lengths(), [2.5, 5, 1.25])
            page.undo()
            compare(lengths(), [5, 10, 2.5])
            page.redo()
            page.redo()
            page.redo()
            page.redo()
            compare(lengths(), [2.5, 1.422])
            verify(!page.document.canRedo)
        }

        // The circle taken by a click moves by picture pixels with the arrow keys; the
        // run of keys is one step.
        function test_circleMovedByKeys() {
            page.image.source = PageTest.pictureUrl("landscape-800x400.png")
            tryCompare(page.image, "status", Image.Ready)
            clickCanvas(0.52, 0.5)
            keyClick(Qt.Key_Right, Qt.ShiftModifier)
            keyClick(Qt.Key_Up)
            fuzzyCompare(page.circleX, 0.5 + 10 / 800, 1e-9)
            fuzzyCompare(page.circleY, 0.5 - 1 / 400, 1e-9)
            compare(page.document.undoText, "Move circle")
            page.undo()
            page.undo()
            compare(page.circleX, 0.5)
            verify(!page.document.canUndo)
        }

        // The rows of the Measurements list select their measure, as a click on it
        // does, and their × removes it.
        function test_listRowsSelectAndRemove() {
            page.image.source = PageTest.pictureUrl("landscape-800x400.png")
            tryCompare(page.image, "status", Image.Ready)
            placeThreeMeasures()
            var rows = []
            var list = findChild(page, "measuresList")
            for (var i = 0; i < list.children.length; ++i) {
                if (list.children[i].objectName === "measuresListRow" && list.children[i].measure >= 0)
                    rows.push(list.children[i])
            }
            rows.sort(function (a, b) { return a.measure - b.measure })
            waitForRendering(list) // laid out
            compare(rows.length, 3)
            mouseClick(rows[1].children[0])
            compare(measures.selected, 1)
            verify(rows[1].selected)
            mouseClick(findChild(rows[2], "removeMeasureButton"))
            compare(lengths(), [5, 10])
            compare(page.document.undoText, "Remove measure")
        }

        // Escape lets go of a measure being placed, and of nothing else.
        function test_escapeCancelsPlacing() {
            calibrate([0.1, 0.5], [0.5, 0.5], 10)
            measure([0.1, 0.1], [0.3, 0.1])
            page.addMeasure()
            clickCanvas(0.2, 0.2)
            keyClick(Qt.Key_Escape)
            verify(!page.measuring)
            compare(page.messageLabel.text, "")
            compare(lengths(), [5])
            clickCanvas(0.4, 0.4)
            compare(lengths(), [5], "a click after Escape places nothing")
        }
    }
}
