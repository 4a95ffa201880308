import QtQuick 2.15
import QtTest 1.2
import "qrc:/"
import "pagetest.js" as PageTest

// The overlay worked with real mouse and wheel events on a real page. The canvas is
// 600 x 400 (the page less the tool panel), so the circle starts centred at (300, 200)
// with radius 128. Pointer positions are whole pixels, so the angles below come from
// offsets (dx, dy) chosen to land just inside or outside a tolerance or a rounding.
Item {
    id: root
    width: 900
    height: 500

    Component {
        id: pageComponent
        MainPage {}
    }

    TestCase {
        id: testCase
        name: "Pointer"
        when: windowShown

        property var page: null
        property var measures: null

        SignalSpy {
            id: paintSpy
            signalName: "paint"
        }

        function init() {
            page = createTemporaryObject(pageComponent, root, { "width": 750, "height": 400 })
            verify(page)
            measures = findChild(page, "measures")
            paintSpy.target = page.canvas
            paintSpy.clear()
            tryVerify(function () {
                return paintSpy.count > 0
            }, 5000, "the page's first paint")
            compare(page.canvas.width, 600)
            compare(page.canvas.height, 400)
            compare(page.circleRadiusSlider.value, 128)
        }

        // A point of the canvas given by its offset from the circle's centre.
        function at(dx, dy) {
            return {
                "x": page.circleX * page.canvas.width + dx,
                "y": page.circleY * page.canvas.height + dy
            }
        }

        function hover(p) {
            mouseMove(page.canvas, p.x, p.y)
        }

        function press(p) {
            mouseMove(page.canvas, p.x, p.y)
            mousePress(page.canvas, p.x, p.y)
        }

        function dragTo(p) {
            mouseMove(page.canvas, p.x, p.y, -1, Qt.LeftButton)
        }

        function release(p) {
            mouseRelease(page.canvas, p.x, p.y)
        }

        function centre() {
            return {
                "x": page.circleX * page.canvas.width,
                "y": page.circleY * page.canvas.height
            }
        }

        function showLine(rotation) {
            page.lineVisibleSwitch.checked = true
            page.lineRotationSlider.value = rotation
        }

        function showSector(rotation, angle) {
            page.compassVisibleSwitch.checked = true
            page.compassRotationSlider.value = rotation
            page.compassAngleSlider.value = angle
        }

        // A place that nothing can be taken at in any of the rows below.
        readonly property var neutral: ({ "dx": 290, "dy": 190 })

        function test_hoverCursor_data() {
            return [
                        { "tag": "in the circle", "dx": 10, "dy": 10, "hand": true },
                        { "tag": "outside, nothing shown", "dx": 230, "dy": -100, "hand": false },
                        { "tag": "line 0, above right arm", "line": 0, "dx": 230, "dy": -2, "hand": true },
                        { "tag": "line 0, below left arm", "line": 0, "dx": -230, "dy": 2, "hand": true },
                        { "tag": "line 0, below right arm, 8 px across", "line": 0, "dx": 230, "dy": 8, "hand": false },
                        { "tag": "line 0, below right arm, 5 px across", "line": 0, "dx": 230, "dy": 5, "hand": true },
                        { "tag": "line 0, above left arm, 8 px across", "line": 0, "dx": -230, "dy": -8, "hand": false },
                        { "tag": "line 0, 0.57 degrees off", "line": 0, "dx": 200, "dy": -2, "hand": true },
                        { "tag": "line 0, 2 degrees and 7 px off", "line": 0, "dx": 200, "dy": -7, "hand": false },
                        { "tag": "line 45 inside the circle", "line": 45, "dx": 50, "dy": -50, "hand": true },
                        { "tag": "rotation edge 0, 8 px across", "sector": [0, 30], "dx": 230, "dy": 8, "hand": false },
                        { "tag": "rotation edge 0, at 359.5", "sector": [0, 30], "dx": 230, "dy": 2, "hand": true },
                        { "tag": "rotation edge 0, behind the centre", "sector": [0, 30], "dx": -230, "dy": 2, "hand": false },
                        { "tag": "rotation edge 0, at 0.5", "sector": [0, 30], "dx": 230, "dy": -2, "hand": true },
                        { "tag": "angle edge at 60", "sector": [30, 30], "dx": 97, "dy": -168, "hand": true },
                        { "tag": "angle edge past 360", "sector": [350, 20], "dx": 230, "dy": -41, "hand": true },
                        { "tag": "hidden line", "dx": 230, "dy": -2, "hand": false }
                    ]
        }

        function test_hoverCursor(data) {
            if (data.line !== undefined)
                showLine(data.line)
            if (data.sector !== undefined)
                showSector(data.sector[0], data.sector[1])
            hover(at(neutral.dx, neutral.dy))
            compare(page.canvasMouseArea.cursorShape, Qt.ArrowCursor)
            hover(at(data.dx, data.dy))
            compare(page.canvasMouseArea.cursorShape,
                    data.hand ? Qt.PointingHandCursor : Qt.ArrowCursor)
            compare(page.mouseAction, 0)
        }

        // The left column and the top row are ignored, for hover and drag alike.
        function test_firstColumnAndRowIgnored() {
            showLine(0)
            hover(at(neutral.dx, neutral.dy))
            mouseMove(page.canvas, 0, 200) // on the line's left arm
            compare(page.canvasMouseArea.cursorShape, Qt.ArrowCursor)
            page.lineRotationSlider.value = 90
            mouseMove(page.canvas, 300, 0) // on the line's upper arm
            compare(page.canvasMouseArea.cursorShape, Qt.ArrowCursor)

            page.lineVisibleSwitch.checked = false
            press(at(10, 10))
            compare(page.mouseAction, 4)
            mouseMove(page.canvas, 0, 150, -1, Qt.LeftButton)
            mouseMove(page.canvas, 250, 0, -1, Qt.LeftButton)
            compare(centre().x, 300)
            compare(centre().y, 200)
            dragTo({ "x": 321, "y": 205 }) // from the press at (310, 210)
            fuzzyCompare(centre().x, 311, 1e-9)
            fuzzyCompare(centre().y, 195, 1e-9)
            release({ "x": 321, "y": 205 })
        }

        // Taken inside the circle, the line comes before the circle. Whole degrees,
        // halves upwards; the line follows at any distance and the circle stays put.
        function test_dragGuideLine() {
            showLine(45)
            press(at(50, -50))
            dragTo(at(60, -60))
            compare(page.mouseAction, 1)
            compare(page.canvasMouseArea.cursorShape, Qt.PointingHandCursor)
            compare(centre().x, 300)
            dragTo(at(118, -116)) // 44.51 degrees
            compare(page.lineRotationSlider.value, 45)
            dragTo(at(145, -142)) // 44.40 degrees
            compare(page.lineRotationSlider.value, 44)
            dragTo(at(-56, -97)) // 120 degrees, inside the circle
            compare(page.lineRotationSlider.value, 120)
            dragTo(at(-200, 100)) // below left: the line's direction is 26.57 degrees
            compare(page.lineRotationSlider.value, 27)
            compare(centre().x, 300)
            compare(page.lineLabel.text, "\u2205 27\u00ba")
            release(at(-200, 100))
            compare(page.mouseAction, 0)

            // A release ends the drag: a press reached with no move before it (the
            // pointer jumping back from a control) takes what is under it, here the
            // circle, and nothing continues the line's drag.
            mousePress(page.canvas, 300, 220)
            compare(page.mouseAction, 4)
            dragTo({ "x": 300, "y": 230 })
            compare(page.lineRotationSlider.value, 27)
            fuzzyCompare(centre().y, 210, 1e-9)
            release({ "x": 300, "y": 230 })
        }

        // The guide line aligned by the keys, then the sector switched on: a drag of the
        // sector's second edge turns that edge, and the line keeps its angle. With the
        // sector off again, the first drag of the line turns it.
        function test_sectorEdgeTakenOverAlignedLine() {
            showLine(37)
            press(at(200, -151)) // 37.05 degrees
            release(at(200, -151))
            for (var i = 0; i < 5; ++i)
                keyClick(Qt.Key_Right)
            compare(page.lineRotationSlider.value, 37.5)
            mouseClick(page.compassVisibleSwitch)
            showSector(30, 50) // the second edge at 80 degrees
            mousePress(page.canvas, at(35, -198).x, at(35, -198).y) // 79.97 degrees
            compare(page.mouseAction, 3)
            dragTo(at(68, -187)) // 70.0 degrees
            release(at(68, -187))
            compare(page.compassAngleSlider.value, 40)
            compare(page.lineRotationSlider.value, 37.5)

            page.compassVisibleSwitch.checked = false
            mousePress(page.canvas, at(200, -154).x, at(200, -154).y) // 37.6 degrees
            compare(page.mouseAction, 1)
            dragTo(at(150, -150)) // 45 degrees
            release(at(150, -150))
            compare(page.lineRotationSlider.value, 45)
        }

        // The rotation edge at 30 is held: the angle opens counter-clockwise from it
        // and wraps past 0 to 359.
        function test_dragAngleEdge() {
            showSector(30, 30)
            press(at(97, -168)) // 60 degrees
            dragTo(at(98, -169)) // 59.89 degrees
            compare(page.mouseAction, 3)
            compare(page.compassAngleSlider.value, 30)
            dragTo(at(233, -140)) // 31.00 degrees
            compare(page.compassAngleSlider.value, 1)
            dragTo(at(265, -153)) // 30.00 degrees
            compare(page.compassAngleSlider.value, 0)
            dragTo(at(267, -148)) // 29.00 degrees
            compare(page.compassAngleSlider.value, 359)
            compare(page.compassRotationSlider.value, 30)
            compare(page.compassLabel.text, "< 30\u00ba 29\u00ba (1\u00ba)")
            release(at(267, -148))
        }

        // Where both edges lie under the pointer the rotation edge is taken, and the
        // whole sector turns with it.
        function test_dragRotationEdge() {
            showSector(30, 359) // the angle edge at 29 degrees
            hover(at(264, -152)) // 29.93 degrees: within a degree of both edges
            press(at(264, -152))
            dragTo(at(265, -153))
            compare(page.mouseAction, 2)
            dragTo(at(-30, -170)) // 100 degrees
            compare(page.compassRotationSlider.value, 100)
            compare(page.compassAngleSlider.value, 359)
            release(at(-30, -170))
        }

        // The circle moves by the pointer's movement, never closer than radius + 31
        // to an edge: on 600 x 400 with radius 100, x between 131 and 469.
        function test_dragCircle() {
            page.circleRadiusSlider.value = 100
            press({ "x": 311, "y": 210 }) // takes the circle without moving it
            compare(page.mouseAction, 4)
            compare(centre().x, 300)
            dragTo({ "x": 321, "y": 210 })
            fuzzyCompare(centre().x, 310, 1e-9)
            dragTo({ "x": 590, "y": 210 })
            fuzzyCompare(centre().x, 469, 1e-9)
            compare(page.circleRadiusSlider.to, 100)
            compare(page.circleRadiusSlider.value, 100)
            dragTo({ "x": 580, "y": 210 }) // follows at once on the way back
            fuzzyCompare(centre().x, 459, 1e-9)
            dragTo({ "x": 10, "y": 399 })
            fuzzyCompare(centre().x, 131, 1e-9)
            fuzzyCompare(centre().y, 269, 1e-9)
            compare(page.lastMouseOnCircleX, 10)
            compare(page.lastMouseOnCircleY, 399)
            release({ "x": 10, "y": 399 })
        }

        // A new picture shrinks the canvas to 600 x 300: the radius range follows at once
        // (150 - 31), and again for a portrait picture (200 x 400: 100 - 31), pulling the
        // radius down with it, so that the circle and its numbers stay on the canvas.
        function test_radiusRangeFollowsNewPicture() {
            page.image.source = PageTest.pictureUrl("wide-2000x1000.jpg")
            tryCompare(page.canvas, "height", 300)
            compare(page.circleRadiusSlider.to, 119)
            compare(page.circleRadiusSlider.value, 119)
            page.image.source = PageTest.pictureUrl("tall-1000x2000.png")
            tryCompare(page.canvas, "width", 200)
            compare(page.circleRadiusSlider.to, 69)
            compare(page.circleRadiusSlider.value, 69)
            press(at(10, 10))
            dragTo(at(11, 10))
            compare(page.mouseAction, 4)
            fuzzyCompare(centre().x, 100, 1e-9)
            release(at(11, 10))
        }

        // A 400 x 300 picture makes the canvas 533.3 wide, its left edge between two
        // pixel columns, so every pointer position on it is fractional. A straight
        // vertical drag must leave the centre where it was across, step after step.
        function test_dragCircleOnFractionalCanvas() {
            page.image.source = PageTest.pictureUrl("ratio-400x300.jpg")
            tryCompare(page.canvas, "height", 400)
            verify(page.canvas.width % 1 !== 0)
            var start = centre()
            var x = Math.round(start.x) + 0.5
            press({ "x": x, "y": 150 })
            for (var y = 151; y <= 230; ++y)
                dragTo({ "x": x, "y": y })
            compare(page.mouseAction, 4)
            verify(Math.abs(centre().x - start.x) < 0.5,
                   "the centre crept sideways to " + centre().x + " from " + start.x)
            release({ "x": x, "y": 230 })
        }

        // A drag begun on empty canvas takes nothing, even where it crosses the circle.
        function test_dragFromEmptyCanvas() {
            press(at(250, -150))
            compare(page.mouseAction, 0)
            dragTo(at(120, 0))
            dragTo(at(10, 0))
            compare(page.mouseAction, 0)
            compare(centre().x, 300)
            release(at(10, 0))
        }

        // Two pixels per notch, fractions for finer wheels; only with no modifier held
        // and only with the pointer in the circle.
        function test_wheel() {
            var inside = at(10, 10)
            hover(inside)
            mouseWheel(page.canvas, inside.x, inside.y, 0, 120)
            compare(page.circleRadiusSlider.value, 130)
            mouseWheel(page.canvas, inside.x, inside.y, 0, -240)
            compare(page.circleRadiusSlider.value, 126)
            mouseWheel(page.canvas, inside.x, inside.y, 0, 60)
            compare(page.circleRadiusSlider.value, 127)
            mouseWheel(page.canvas, inside.x, inside.y, 0, 120, Qt.NoButton, Qt.ControlModifier)
            mouseWheel(page.canvas, inside.x, inside.y, 0, 120, Qt.NoButton, Qt.ShiftModifier)
            compare(page.circleRadiusSlider.value, 127)
            var outside = at(200, 0)
            hover(outside)
            mouseWheel(page.canvas, outside.x, outside.y, 0, 120)
            compare(page.circleRadiusSlider.value, 127)
            // The slider keeps its range.
            for (var i = 0; i < 30; ++i)
                mouseWheel(page.canvas, inside.x, inside.y, 0, 120)
            compare(page.circleRadiusSlider.value, page.circleRadiusSlider.to)
        }

        // While a measure is being placed, moves only repaint: no drag, no cursor
        // change, no wheel.
        function test_measuringHoldsTheOverlay() {
            page.document.calibrate(Qt.point(0, 0), Qt.point(1, 0), 600, "") // a factor of 1
            page.addMeasure()
            verify(page.measuring)
            var inside = at(10, 10)
            hover(at(neutral.dx, neutral.dy))
            paintSpy.clear()
            hover(inside)
            paintSpy.wait(5000)
            compare(page.canvasMouseArea.cursorShape, Qt.ArrowCursor)
            mouseWheel(page.canvas, inside.x, inside.y, 0, 120)
            compare(page.circleRadiusSlider.value, 128)
            mousePress(page.canvas, inside.x, inside.y)
            dragTo(at(20, 10))
            dragTo(at(30, 10))
            compare(page.mouseAction, 0)
            compare(centre().x, 300)
            release(at(30, 10))
        }

        function clickAt(x, y) {
            mouseMove(page.canvas, x, y)
            PageTest.waitForPendingPaint(testCase, page.canvas) // the move's own, while placing points
            paintSpy.clear()
            mouseClick(page.canvas, x, y)
        }

        // Clicks place the calibration's points and then a measure's, as fractions of
        // the canvas; each placed point is painted.
        function test_clicksPlacePoints() {
            clickAt(150, 100)
            PageTest.waitForPendingPaint(testCase, page.canvas)
            compare(paintSpy.count, 0)
            compare(page.messageLabel.text, "")

            page.calibrateMeasures()
            clickAt(150, 100)
            compare(measures.calibration.start.x, 0.25)
            compare(measures.calibration.start.y, 0.25)
            compare(page.messageLabel.text, "Click on the calibration ending point.")
            paintSpy.wait(5000)
            clickAt(450, 100)
            compare(measures.calibration.end.x, 0.75)
            compare(page.messageLabel.text, "")
            paintSpy.wait(5000)
            var popup = findChild(page, "calibrationPopup")
            tryCompare(popup, "opened", true)
            findChild(page, "referenceField").text = "10"
            mouseClick(findChild(page, "acceptButton"))
            tryCompare(page, "calibrated", true)
            tryCompare(popup, "visible", false) // it takes the clicks while it sinks away

            page.addMeasure()
            clickAt(300, 50)
            compare(page.messageLabel.text, "Click on the ending point.")
            var item = measures.items[0]
            compare(item.start.x, 0.5)
            compare(item.start.y, 0.125)
            paintSpy.wait(5000)
            clickAt(300, 350)
            item = measures.items[0]
            compare(item.end.y, 0.875)
            fuzzyCompare(item.cachedLength, 10, 1e-9) // as long as the calibration
            verify(!page.measuring)
            compare(page.messageLabel.text, "")
            paintSpy.wait(5000)
        }

        // Near the centre a degree is less than a pixel: the line is taken 5 pixels
        // across it, before the circle, and then turned by the arrow keys in tenths
        // of a degree (whole degrees with Shift) until Escape.
        function test_lineTakenNearCentreAndTurnedByKeys() {
            showLine(45)
            press(at(18, -11)) // 31.4 degrees, 4.95 pixels across the line
            dragTo(at(18, -12))
            compare(page.mouseAction, 1)
            compare(centre().x, 300)
            compare(page.lineRotationSlider.value, 34)
            release(at(18, -12))
            keyClick(Qt.Key_Right)
            compare(page.lineRotationSlider.value, 34.1)
            compare(page.lineLabel.text, "\u2205 34.1\u00ba")
            keyClick(Qt.Key_Down, Qt.ShiftModifier)
            keyClick(Qt.Key_Down)
            compare(page.lineRotationSlider.value, 33)
            compare(page.lineLabel.text, "\u2205 33\u00ba")
            keyClick(Qt.Key_Escape)
            keyClick(Qt.Key_Up)
            compare(page.lineRotationSlider.value, 33)
        }

        // A point just placed moves by one picture pixel per arrow key, ten with Shift,
        // and its measure's length follows exactly, until the next click. The 800 x 400
        // picture fills a 600 x 300 canvas; a factor of 1 gives picture pixels.
        function test_nudgePointsByKeys() {
            page.image.source = PageTest.pictureUrl("landscape-800x400.png")
            tryCompare(page.canvas, "height", 300)
            page.document.calibrate(Qt.point(0, 0), Qt.point(1, 0), 800, "") // a factor of 1
            page.addMeasure()
            mouseClick(page.canvas, 150, 150) // picture (200, 200)
            keyClick(Qt.Key_Right)
            mouseClick(page.canvas, 450, 150) // picture (600, 200)
            fuzzyCompare(measures.items[0].cachedLength, 399, 1e-9)
            keyClick(Qt.Key_Right, Qt.ShiftModifier)
            keyClick(Qt.Key_Down)
            var nudged = Math.sqrt(409 * 409 + 1)
            fuzzyCompare(measures.items[0].cachedLength, nudged, 1e-9)
            mouseClick(page.canvas, 10, 10)
            keyClick(Qt.Key_Right)
            fuzzyCompare(measures.items[0].cachedLength, nudged, 1e-9)
        }

        // The guide line being dragged runs through the magnifier, in its own colour,
        // at its angle on screen (45 degrees: up and to the right).
        function test_magnifierShowsDraggedLine() {
            var magnifier = findChild(page, "magnifier")
            page.image.source = PageTest.pictureUrl("coded-2400x1600.png")
            tryCompare(page.canvas, "width", 600)
            page.lineLabel.color = "#ff00ff"
            showLine(45)
            press(at(60, -60))
            dragTo(at(61, -61))
            verify(magnifier.visible)
            var shot = grabImage(magnifier)
            var onLine = function (x, y) {
                var c = shot.pixel(x, y)
                return c.r > 0.9 && c.g < 0.1 && c.b > 0.9
            }
            // Up and to the right of the centre, and down and to the left of it.
            verify(onLine(120, 40) || onLine(121, 40) || onLine(120, 39), "no line above right")
            verify(onLine(40, 120) || onLine(39, 120) || onLine(40, 121), "no line below left")
            release(at(61, -61))
        }

        // While a point is placed the magnifier shows the picture's own pixels at the
        // pointer: four screen pixels a side each, each pixel's colour spelling its place
        // (red the low byte of x, green of y), with the segment being placed running to
        // its start. The wheel over it and + and - change the magnification.
        function test_magnifier() {
            var magnifier = findChild(page, "magnifier")
            page.image.source = PageTest.pictureUrl("coded-2400x1600.png")
            tryCompare(page.canvas, "width", 600)
            page.calibrateMeasures()
            mouseClick(page.canvas, 150, 100)
            mouseMove(page.canvas, 160, 100) // picture (640, 400)
            verify(magnifier.visible)
            compare(magnifier.magnification, 4)
            var shot = grabImage(magnifier)
            // Off the cross's arms, along the diagonal.
            for (var d = 0; d <= 2; ++d) {
                compare(Math.round(shot.pixel(80 + 4 * d, 80 + 4 * d).r * 255), (640 + d) & 255)
                compare(Math.round(shot.pixel(80 + 4 * d, 80 + 4 * d).g * 255), (400 + d) & 255)
            }
            compare(shot.pixel(60, 80), Qt.rgba(1, 0, 0, 1), "the segment towards its start")
            // The cross is white edged in black.
            compare(shot.pixel(90, 80), Qt.rgba(1, 1, 1, 1))
            compare(shot.pixel(90, 79), Qt.rgba(0, 0, 0, 1))
            mouseWheel(magnifier, 80, 80, 0, 120)
            compare(magnifier.magnification, 8)
            shot = grabImage(magnifier)
            compare(Math.round(shot.pixel(88, 88).r * 255), 641 & 255)
            keyClick(Qt.Key_Minus)
            keyClick(Qt.Key_Minus)
            keyClick(Qt.Key_Minus)
            compare(magnifier.magnification, 2)
            magnifier.zoomIn()
            var pointer = page.canvas.mapToItem(page, 160, 100)
            verify(pointer.x < magnifier.x || pointer.y > magnifier.y + magnifier.height)

            mouseClick(page.magnifierSwitch)
            mouseMove(page.canvas, 300, 100)
            verify(!magnifier.visible, "switched off")
            mouseClick(page.magnifierSwitch)
            page.resetMeasures()
            mouseMove(page.canvas, 302, 100)
            verify(!magnifier.visible, "nothing placed or dragged")
        }
    }
}
