import QtQuick 2.15
import QtTest 1.2
import "qrc:/"
import "pagetest.js" as PageTest

// Calibration and measures driven by real clicks on the canvas and in the popup.
Item {
    id: root
    width: 1100
    height: 850

    Component {
        id: pageComponent
        MainPage {}
    }

    // Reads the system clipboard back.
    TextEdit {
        id: clipboardReader
        visible: false
    }

    TestCase {
        name: "PageMeasures"
        when: windowShown

        property var page: null
        property var measures: null
        property var popup: null

        function init() {
            page = createTemporaryObject(pageComponent, root, { "width": 950, "height": 800 })
            verify(page)
            measures = findChild(page, "measures")
            popup = findChild(page, "calibrationPopup")
            verify(measures && popup)
            waitForRendering(page)
        }

        function loadPicture(name) {
            page.image.source = PageTest.pictureUrl(name)
            tryCompare(page.image, "status", Image.Ready)
        }

        function clickCanvas(fx, fy) {
            mouseClick(page.canvasMouseArea, fx * page.canvas.width, fy * page.canvas.height)
        }

        function typeReference(value) {
            var field = findChild(popup.contentItem, "referenceField")
            mouseClick(field)
            keySequence(StandardKey.SelectAll)
            String(value).split("").forEach(function (character) { keyClick(character) })
        }

        function placeCalibration(start, end) {
            page.calibrateMeasures()
            clickCanvas(start[0], start[1])
            clickCanvas(end[0], end[1])
            tryCompare(popup, "opened", true)
        }

        function acceptPopup() {
            mouseClick(findChild(popup.contentItem, "acceptButton"))
            tryCompare(popup, "visible", false)
        }

        function calibrate(start, end, reference) {
            placeCalibration(start, end)
            typeReference(reference)
            acceptPopup()
            verify(page.calibrated)
        }

        function measure(start, end) {
            page.addMeasure()
            clickCanvas(start[0], start[1])
            clickCanvas(end[0], end[1])
            verify(!page.measuring)
            return measures.items[measures.items.length - 1].cachedLength
        }

        function verifyUncalibrated() {
            verify(!page.calibrated && !page.calibrating && !page.measuring && !page.hasMeasures)
            compare(page.messageLabel.text, "")
            compare(measures.calibrationFactor, 0)
            verify(measures.calibration.start.x < 0 && measures.calibration.end.x < 0)
        }

        // Lengths are taken in picture pixels: the same factor reads across and down, and
        // whatever the window or the tool panel does to the canvas.
        function test_lengthsFollowThePicturesProportions() {
            loadPicture("landscape-800x400.png")
            compare(page.canvas.width, 800)
            compare(page.canvas.height, 400)

            page.calibrateMeasures()
            compare(page.messageLabel.text, "Click on the calibration starting point.")
            clickCanvas(0.25, 0.5)
            compare(page.messageLabel.text, "Click on the calibration ending point.")
            verify(page.calibrating && !page.calibrated)
            clickCanvas(0.75, 0.5)
            compare(page.messageLabel.text, "")
            tryCompare(popup, "opened", true)
            typeReference(10)
            acceptPopup()
            verify(page.calibrated && !page.calibrating)

            page.addMeasure()
            compare(page.messageLabel.text, "Click on the starting point.")
            clickCanvas(0.5, 0.25)
            compare(page.messageLabel.text, "Click on the ending point.")
            clickCanvas(0.5, 0.75)
            compare(page.messageLabel.text, "")
            fuzzyCompare(measures.items[0].cachedLength, 5, 1e-9)

            // Points chosen to fall on whole pixels of each canvas size.
            page.state = "toolbarHidden"
            tryCompare(page.canvas, "width", 950)
            compare(page.canvas.height, 475)
            fuzzyCompare(measure([0.5, 0.2], [0.5, 0.8]), 6, 1e-9)
            page.height = 300
            compare(page.canvas.width, 600)
            fuzzyCompare(measure([0.25, 0.5], [0.75, 0.5]), 10, 1e-9)
            compare(measures.items.length, 3)
        }

        // The largest reference is taken, and a measure over the calibrated stretch reads it.
        // The list follows the calibration, the measures and the guide line; the unit
        // typed beside the reference is kept for the next run; Copy hands the list on.
        function test_measuresListCopied() {
            placeCalibration([0.1, 0.5], [0.5, 0.5])
            typeReference(10)
            mouseClick(findChild(popup.contentItem, "unitField"))
            keySequence(StandardKey.SelectAll)
            "um".split("").forEach(function (character) { keyClick(character) })
            acceptPopup()
            compare(findChild(page, "settings").lengthUnit, "um")
            measure([0.1, 0.2], [0.3, 0.2])
            page.lineVisibleSwitch.checked = true
            var list = findChild(page, "measuresList")
            tryCompare(list, "text", "Item\tValue\tUnit\nCalibration\t10\tum\n"
                       + "Measure 1\t5.00\tum\nGuide line\t45\t\u00b0\n")
            findChild(list, "copyMeasuresButton").clicked()
            clipboardReader.paste()
            // The list under the record's heading.
            verify(clipboardReader.text.indexOf("\nPicture pixels per um\t") > 0,
                   clipboardReader.text)
            compare(clipboardReader.text.slice(-list.text.length), list.text)
            page.resetMeasures()
            tryCompare(list, "text", "Item\tValue\tUnit\nGuide line\t45\t\u00b0\n")
        }

        function test_largestReference() {
            calibrate([0.1, 0.1], [0.4, 0.5], 1000000)
            fuzzyCompare(measure([0.1, 0.1], [0.4, 0.5]), 1000000, 1e-6)
            fuzzyCompare(measure([0.4, 0.5], [0.1, 0.1]), 1000000, 1e-6)
        }

        function test_popupWaysOut_data() {
            return [
                { tag: "Accept", calibrated: true },
                { tag: "Accept with both points on one spot", calibrated: false },
                { tag: "Cancel", calibrated: false },
                { tag: "Escape", calibrated: false },
                { tag: "press outside the page", calibrated: false }
            ]
        }

        function test_popupWaysOut(data) {
            var end = data.tag === "Accept with both points on one spot" ? [0.2, 0.3] : [0.6, 0.3]
            placeCalibration([0.2, 0.3], end)
            verify(page.calibrating)
            if (data.tag.indexOf("Accept") === 0)
                mouseClick(findChild(popup.contentItem, "acceptButton"))
            else if (data.tag === "Cancel")
                mouseClick(findChild(popup.contentItem, "cancelButton"))
            else if (data.tag === "Escape")
                keyClick(Qt.Key_Escape)
            else
                mouseClick(root, page.width + 50, 400)
            tryCompare(popup, "visible", false)
            verify(!page.calibrating)
            compare(page.calibrated, data.calibrated)
            if (!data.calibrated)
                verifyUncalibrated()
        }

        function test_measureOperations() {
            page.addMeasure()
            verify(!page.measuring && !page.hasMeasures, "no measure before a calibration")
            compare(page.messageLabel.text, "")

            calibrate([0.2, 0.2], [0.6, 0.2], 4)
            verify(!page.hasMeasures)
            measure([0.1, 0.1], [0.1, 0.5])
            verify(page.hasMeasures)

            page.addMeasure()
            page.addMeasure()
            compare(measures.items.length, 2, "a second Add while measuring is ignored")
            clickCanvas(0.3, 0.3)
            verify(page.measuring)
            compare(page.messageLabel.text, "Click on the ending point.")

            page.popMeasure()
            verify(!page.measuring && page.hasMeasures && page.calibrated)
            compare(measures.items.length, 1)
            compare(page.messageLabel.text, "")

            page.addMeasure()
            page.popMeasure()
            compare(measures.items.length, 1, "Remove Last while awaiting a first point drops only that")
            page.popMeasure()
            verify(!page.hasMeasures && page.calibrated)
            page.popMeasure()
            verify(!page.hasMeasures && !page.measuring)
            compare(page.messageLabel.text, "")
            verify(!measures.placePoint(0.5, 0.5), "a click outside any procedure places nothing")

            // A calibration started again keeps the one in force until it is accepted.
            page.calibrateMeasures()
            verify(page.calibrating && page.calibrated)
            clickCanvas(0.5, 0.5)
            page.resetMeasures()
            verifyUncalibrated()
        }

        // A resize of the page leaves the box open and the points placed: they are
        // fractions of the picture, whose proportions hold.
        function test_resizeKeepsCalibrationBeingPlaced() {
            placeCalibration([0.2, 0.3], [0.6, 0.3])
            page.width = 900
            verify(popup.opened && page.calibrating) // a closing box is no longer opened
            compare(measures.calibration.end.x, 0.6)
            fuzzyCompare(popup.x, (page.width - popup.width) / 2, 1)
            typeReference(8)
            acceptPopup()
            fuzzyCompare(measure([0.2, 0.3], [0.6, 0.3]), 8, 1e-9)
        }

        // Two points and no more: clicks while the popup is up place nothing.
        function test_calibrationTakesTwoPoints() {
            placeCalibration([0.2, 0.2], [0.4, 0.4])
            verify(!measures.placePoint(0.9, 0.9))
            compare(measures.calibration.end.x, 0.4)
            keyClick(Qt.Key_Escape)
            tryCompare(popup, "visible", false)
        }

        function test_referenceOfferedAgain() {
            calibrate([0.2, 0.2], [0.6, 0.2], 250)
            placeCalibration([0.2, 0.2], [0.6, 0.6])
            compare(findChild(popup.contentItem, "referenceField").text, "250")
            acceptPopup()
            verify(page.calibrated)
        }

        // Decimals with either sign are taken as typed; anything else cannot be accepted.
        function test_referenceTyping_data() {
            return [
                { tag: "point", text: "11.5", value: 11.5 },
                { tag: "comma", text: "0,125", value: 0.125 },
                { tag: "not a number", text: "abc" },
                { tag: "below the range", text: "0.0005" }
            ]
        }

        function test_referenceTyping(data) {
            placeCalibration([0.2, 0.5], [0.6, 0.5])
            typeReference(data.text)
            var accept = findChild(popup.contentItem, "acceptButton")
            compare(accept.enabled, data.value !== undefined)
            compare(findChild(popup.contentItem, "referenceRangeLabel").opacity,
                    data.value !== undefined ? 0 : 1)
            keyClick(Qt.Key_Return)
            if (data.value === undefined) {
                verify(popup.visible && page.calibrating, "refused text was accepted")
                keyClick(Qt.Key_Escape)
                tryCompare(popup, "visible", false)
                return
            }
            tryCompare(popup, "visible", false)
            fuzzyCompare(measure([0.2, 0.5], [0.6, 0.5]), data.value, 1e-9)
        }

        // Another picture starts with no measures and no calibration; the tools stay.
        function test_newPictureClearsMeasures() {
            loadPicture("landscape-800x400.png")
            page.lineVisibleSwitch.checked = true
            page.lineRotationSlider.value = 30
            page.circleX = 0.4
            calibrate([0.1, 0.5], [0.5, 0.5], 10)
            measure([0.1, 0.1], [0.3, 0.1])
            measure([0.2, 0.2], [0.2, 0.6])

            loadPicture("wide-2000x1000.jpg")
            verify(!page.calibrated && !page.hasMeasures)
            compare(page.messageLabel.text,
                    "The measures and the calibration were cleared for the new picture.")
            verify(page.lineVisibleSwitch.checked)
            compare(page.lineRotationSlider.value, 30)
            compare(page.circleX, 0.4)
        }
    }
}
