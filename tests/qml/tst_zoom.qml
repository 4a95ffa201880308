import QtQuick 2.15
import QtTest 1.2
import "qrc:/"
import "pagetest.js" as PageTest

// Zoom and pan of the page's picture, with real wheel, key and mouse events. The
// picture is 2400 x 1600 and each pixel's colour spells its own place (see
// tests/data), so what the screen shows at a point can be read back as a picture
// pixel. The page is 750 x 400: the canvas is 600 x 400, a quarter of a screen
// pixel per picture pixel when the picture is whole.
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
        name: "Zoom"
        when: windowShown

        property var page: null
        property var measures: null
        property var view: null

        function init() {
            page = createTemporaryObject(pageComponent, root, { "width": 750, "height": 400 })
            verify(page)
            measures = findChild(page, "measures")
            view = findChild(page, "pictureView")
            page.image.source = PageTest.pictureUrl("coded-2400x1600.png")
            tryCompare(page.image, "status", Image.Ready)
            tryVerify(function () { return page.picturePreview.drawn }, 10000)
            compare(page.canvas.width, 600)
            compare(page.canvas.height, 400)
            compare(view.scale, 0.25)
            verify(view.fitted)
            PageTest.waitForPendingPaint(testCase, page.canvas)
        }

        // The picture pixel a screen colour spells.
        function decoded(c) {
            var r = Math.round(c.r * 255)
            var g = Math.round(c.g * 255)
            var b = Math.round(c.b * 255)
            return { "x": r + ((b >> 4) << 8), "y": g + ((b & 15) << 8) }
        }

        // What the screen shows of the picture at a point of the canvas, the overlay
        // left out.
        function pictureAt(x, y) {
            page.canvas.visible = false
            var shot = grabImage(page.drawingRectangle)
            page.canvas.visible = true
            return decoded(shot.pixel(x, y))
        }

        function ctrlWheel(x, y, notches) {
            mouseMove(page.canvas, x, y)
            mouseWheel(page.canvas, x, y, 0, 120 * notches, Qt.NoButton, Qt.ControlModifier)
        }

        function near(a, b, tolerance) {
            return Math.abs(a.x - b.x) <= tolerance && Math.abs(a.y - b.y) <= tolerance
        }

        // 8 screen pixels per picture pixel about (x, y), and the enlarged part drawn.
        function zoomToEight(x, y) {
            ctrlWheel(x, y, 20)
            compare(view.scale, 8)
            var picture = findChild(page, "zoomedPicture")
            tryVerify(function () { return picture.visible && picture.ready }, 5000)
            waitForRendering(page.drawingRectangle)
        }

        // The picture's spot under the pointer stays under it, notch after notch; the
        // wheel alone keeps sizing the circle, Ctrl and the wheel leave it as it is.
        function test_ctrlWheelZoomsAboutThePointer() {
            var spot = view.toFraction(Qt.point(420, 130))
            fuzzyCompare(spot.x, 0.7, 1e-9)
            var radius = page.circleRadiusSlider.value
            for (var notch = 1; notch <= 3; ++notch) {
                ctrlWheel(420, 130, 1)
                fuzzyCompare(view.zoom, Math.pow(Math.SQRT2, notch), 1e-9)
                var shown = view.toView(spot)
                verify(near(shown, Qt.point(420, 130), 1e-6), shown.x + ", " + shown.y)
            }
            compare(page.circleRadiusSlider.value, radius)
            ctrlWheel(420, 130, -1)
            fuzzyCompare(view.zoom, 2, 1e-9)
            // Half a screen pixel per picture pixel: the part in view is scaled down off
            // this thread, smoothed, and then shows the spot under the pointer.
            var picture = findChild(page, "zoomedPicture")
            tryVerify(function () { return picture.visible && picture.ready }, 5000)
            waitForRendering(page.drawingRectangle)
            var smoothed = pictureAt(420, 130)
            verify(near(smoothed, Qt.point(0.7 * 2400, 0.325 * 1600), 2),
                   smoothed.x + ", " + smoothed.y)

            // Inside the circle, which now lies about the view's (220, 200).
            var centre = view.toView(Qt.point(page.circleX, page.circleY))
            mouseWheel(page.canvas, centre.x + 5, centre.y + 5, 0, 120)
            compare(page.circleRadiusSlider.value, radius + 2)
            fuzzyCompare(view.zoom, 2, 1e-9)

            // What shows under the pointer is the spot: 0.7 and 0.325 of the picture.
            zoomToEight(420, 130)
            var pixel = pictureAt(420, 130)
            verify(near(pixel, Qt.point(0.7 * 2400, 0.325 * 1600), 1), pixel.x + ", " + pixel.y)
            ctrlWheel(420, 130, 5)
            compare(view.scale, 8) // no closer
        }

        // At 8 screen pixels a picture pixel, a point placed with a click is the
        // picture pixel that the screen shows under the pointer.
        function test_pointPlacedAtEightTimes() {
            zoomToEight(200, 300)
            // Near the middle of a screen-sized picture pixel, so that the pixel under
            // the pointer is the one drawn there whatever the rounding.
            var x = 137
            var y = 251
            var offset = view.offset
            x += Math.round(((4 - (x - offset.x) % 8) + 8) % 8)
            y += Math.round(((4 - (y - offset.y) % 8) + 8) % 8)
            var under = pictureAt(x, y)
            page.calibrateMeasures()
            mouseMove(page.canvas, x, y)
            mouseClick(page.canvas, x, y)
            var start = measures.calibration.start
            compare(Math.floor(start.x * 2400), under.x)
            compare(Math.floor(start.y * 1600), under.y)
            // Half a picture pixel from the pixel's corner, as the pointer was.
            fuzzyCompare(start.x * 2400 - under.x, 0.5, 0.07)

            // The loupe shows while the point is placed, and + is its own then.
            var loupe = findChild(page, "magnifier")
            mouseMove(page.canvas, x + 16, y + 8)
            tryCompare(loupe, "visible", true)
            var magnification = loupe.magnification
            page.forceActiveFocus()
            keyClick(Qt.Key_Minus)
            compare(loupe.magnification, magnification / 2)
            compare(view.scale, 8)
            // Looking at the picture pixel under the pointer, at least as close as the view.
            var focus = loupe.focusPoint
            compare(Math.floor(focus.x), under.x + 2)
            compare(Math.floor(focus.y), under.y + 1)
            verify(loupe.zoom >= 8)
            keyClick(Qt.Key_Plus)
            compare(loupe.magnification, magnification)
        }

        // A point is taken within a few screen pixels of it, as at the whole view, not
        // within as many pixels of the whole picture's canvas.
        function test_takingReachIsTheScreens() {
            page.document.calibrate(Qt.point(0, 0.5), Qt.point(1, 0.5), 10, "mm")
            page.document.addMeasure("distance", [Qt.point(0.9, 0.05), Qt.point(0.9, 0.1)])
            tryCompare(measures.items, "length", 1)
            zoomToEight(540, 40)
            var end = view.toView(Qt.point(0.9, 0.1))
            verify(near(end, Qt.point(540, 40), 1e-6))
            mouseMove(page.canvas, 544, 40)
            mousePress(page.canvas, 544, 40)
            compare(page.mouseAction, 5)
            mouseRelease(page.canvas, 544, 40)
            mouseMove(page.canvas, 549, 40)
            mousePress(page.canvas, 549, 40)
            compare(page.mouseAction, 0)
            mouseRelease(page.canvas, 549, 40)
        }

        // Lines and numbers keep their width and size at any zoom: the cross's
        // vertical arm is two screen pixels wide, whole and at 8 times.
        function test_overlaySharpThroughTheView() {
            page.circleWidthSpinBox.value = 1 // the cross at 2
            findChild(page, "settings").mainColor = "#ffffff"
            function crossWidth() {
                PageTest.waitForPendingPaint(testCase, page.canvas)
                waitForRendering(page.canvas)
                var shot = grabImage(page.canvas)
                var x = Math.round(view.toView(Qt.point(page.circleX, page.circleY)).x)
                var y = 40 // between the number at the top and the circle
                var covered = 0
                for (var dx = -12; dx <= 12; ++dx) {
                    var c = shot.pixel(x + dx, y)
                    if (c.r > 0.9 && c.g > 0.9 && c.b > 0.9)
                        ++covered
                }
                return covered
            }
            var whole = crossWidth()
            verify(whole >= 2 && whole <= 3, whole)
            zoomToEight(300, 200) // the cross stays in the middle
            compare(crossWidth(), whole)
        }

        // The middle button moves the enlarged picture with the pointer, and so does
        // the left one while Space is held; neither takes the circle it starts on.
        function test_pan() {
            var centre = Qt.point(page.circleX, page.circleY)
            // Whole, there is nothing to move.
            mousePress(page.canvas, 300, 200, Qt.MiddleButton)
            mouseMove(page.canvas, 250, 170, -1, Qt.MiddleButton)
            mouseRelease(page.canvas, 250, 170, Qt.MiddleButton)
            compare(view.offset, Qt.point(0, 0))

            ctrlWheel(300, 200, 4) // zoom 4, still about the middle
            var spot = view.toFraction(Qt.point(300, 200))
            mousePress(page.canvas, 300, 200, Qt.MiddleButton)
            mouseMove(page.canvas, 280, 190, -1, Qt.MiddleButton)
            mouseMove(page.canvas, 250, 170, -1, Qt.MiddleButton)
            mouseRelease(page.canvas, 250, 170, Qt.MiddleButton)
            verify(near(view.toView(spot), Qt.point(250, 170), 1e-6))
            compare(page.mouseAction, 0)

            page.forceActiveFocus()
            keyPress(Qt.Key_Space)
            var viewPanning = findChild(page, "viewPanning")
            compare(viewPanning.cursorShape, Qt.OpenHandCursor)
            spot = view.toFraction(Qt.point(250, 170))
            mousePress(page.canvas, 250, 170) // inside the circle
            mouseMove(page.canvas, 290, 230, -1, Qt.LeftButton)
            mouseRelease(page.canvas, 290, 230)
            keyRelease(Qt.Key_Space)
            verify(near(view.toView(spot), Qt.point(290, 230), 1e-6))
            compare(page.mouseAction, 0)
            compare(Qt.point(page.circleX, page.circleY), centre)

            // Without Space the left button drags the circle again, by the pointer's
            // movement through the view.
            var circle = view.toView(centre)
            var x = Math.max(40, Math.min(560, circle.x))
            var y = Math.max(40, Math.min(360, circle.y))
            verify(Math.hypot(x - circle.x, y - circle.y) < 128 * view.zoom - 40)
            mouseMove(page.canvas, x, y)
            mousePress(page.canvas, x, y)
            mouseMove(page.canvas, x + 10, y, -1, Qt.LeftButton)
            mouseMove(page.canvas, x + 30, y, -1, Qt.LeftButton)
            compare(page.mouseAction, 4)
            mouseRelease(page.canvas, x + 30, y)
            fuzzyCompare(page.circleX, centre.x + 30 / view.zoom / 600, 1e-9)

            // Pushed as far as it goes, the picture still covers the canvas.
            for (var push = 0; push < 4; ++push) {
                mousePress(page.canvas, 10, 10, Qt.MiddleButton)
                mouseMove(page.canvas, 300, 200, -1, Qt.MiddleButton)
                mouseMove(page.canvas, 590, 390, -1, Qt.MiddleButton)
                mouseRelease(page.canvas, 590, 390, Qt.MiddleButton)
            }
            compare(view.offset, Qt.point(0, 0))
        }

        // + and - zoom about the pointer while the loupe is hidden; Ctrl+0 shows the
        // picture whole, Ctrl+1 a picture pixel per screen pixel.
        function test_keys() {
            page.forceActiveFocus()
            mouseMove(page.canvas, 150, 100)
            var spot = view.toFraction(Qt.point(150, 100))
            keyClick(Qt.Key_Plus)
            keyClick(Qt.Key_Plus)
            fuzzyCompare(view.zoom, 2, 1e-9)
            verify(near(view.toView(spot), Qt.point(150, 100), 1e-6))
            keyClick(Qt.Key_Minus)
            fuzzyCompare(view.zoom, Math.SQRT2, 1e-9)
            keyClick(Qt.Key_1, Qt.ControlModifier)
            compare(view.scale, 1)
            keyClick(Qt.Key_0, Qt.ControlModifier)
            verify(view.fitted)
            compare(view.offset, Qt.point(0, 0))
            verify(!findChild(page, "zoomedPicture").visible)
        }

        // The view leaves the stored points as they are; a new picture is shown whole.
        function test_newPictureShownWhole() {
            page.document.calibrate(Qt.point(0, 0.5), Qt.point(1, 0.5), 10, "mm")
            page.document.addMeasure("distance", [Qt.point(0.25, 0.5), Qt.point(0.75, 0.5)])
            tryCompare(measures.items, "length", 1)
            ctrlWheel(300, 200, 6)
            verify(!view.fitted)
            compare(measures.items[0].start.x, 0.25)
            page.image.source = PageTest.pictureUrl("landscape-800x400.png")
            tryCompare(page.image, "status", Image.Ready)
            verify(view.fitted)
        }
    }
}
