import QtQuick 2.15
import QtTest 1.2
import "qrc:/"
import "pagetest.js" as PageTest

// The overlay as painted on a real page in a real window: pixels read back from the
// screen and from a capture of the drawing area.
Item {
    id: root
    width: 1000
    height: 700

    Component {
        id: pageComponent
        MainPage {}
    }

    // Reads the pixels of a captured image.
    Canvas {
        id: pixelCanvas
        width: 1
        height: 1
    }

    // Measures texts in the overlay's font.
    Canvas {
        id: metricsCanvas
        width: 1
        height: 1
    }

    TestCase {
        id: testCase
        name: "Overlay"
        when: windowShown

        property var page: null
        property var settings: null
        property var measures: null

        SignalSpy {
            id: paintSpy
            signalName: "paint"
        }

        SignalSpy {
            id: paintedSpy
            signalName: "painted"
        }

        // Without a picture the canvas is the page less the 150 pixels of the tool panel.
        function createPage(width, height) {
            page = createTemporaryObject(pageComponent, root, { "width": width, "height": height })
            verify(page)
            settings = findChild(page, "settings")
            measures = findChild(page, "measures")
            paintSpy.target = page.canvas
            paintedSpy.target = page.canvas
            paintSpy.clear()
            paintedSpy.clear()
            tryVerify(function () {
                return paintedSpy.count > 0
            }, 5000, "the page's first paint")
        }

        function init() {
            createPage(950, 600)
            compare(page.canvas.width, 800)
            compare(page.canvas.height, 600)
        }

        // Settings are shared by every page of the run: back to the defaults.
        function cleanup() {
            settings.mainColor = "white"
            settings.angleStepTextColor = "yellow"
            settings.measureColor = "red"
            settings.angleStep10 = true
            settings.circleWidth = 1
            settings.lineWidth = 1
            settings.compassWidth = 1
        }

        // The grab renders the window afresh, with the canvas as just painted.
        function paintAndGrab() {
            paintedSpy.clear()
            page.canvas.requestPaint()
            paintedSpy.wait(5000)
            return grabImage(page.canvas)
        }

        function brightness(c) {
            return (c.r + c.g + c.b) / 3
        }

        // How many pixels' worth of a white line a run of pixels crosses.
        function coverage(shot, x0, y0, dx, dy, count) {
            var sum = 0
            for (var i = 0; i < count; ++i)
                sum += brightness(shot.pixel(x0 + i * dx, y0 + i * dy))
            return sum
        }

        function isYellow(c) {
            return c.r > 0.6 && c.g > 0.6 && c.b < 0.3
        }

        // The columns that hold yellow pixels in a box around (x, y).
        function yellowExtent(shot, x, y, halfWidth, halfHeight) {
            var left = -1
            var right = -1
            for (var px = Math.round(x - halfWidth); px <= Math.round(x + halfWidth); ++px) {
                for (var py = Math.round(y - halfHeight); py <= Math.round(y + halfHeight); ++py) {
                    if (px < 0 || py < 0 || px >= page.canvas.width || py >= page.canvas.height)
                        continue
                    if (isYellow(shot.pixel(px, py))) {
                        if (left < 0)
                            left = px
                        right = px
                        break
                    }
                }
            }
            return left < 0 ? 0 : right - left + 1
        }

        // The centre of the number written in the direction of a user angle.
        function numberCentre(degrees) {
            var d = page.minDistanceToBorder() - 8
            var a = -degrees * Math.PI / 180
            return {
                "x": page.circleX * page.canvas.width + d * Math.cos(a),
                "y": page.circleY * page.canvas.height + d * Math.sin(a)
            }
        }

        // Neighbours may stand 10 pixels away, so an absent number is looked for only
        // close to where its centre would be.
        function hasNumber(shot, degrees, reach) {
            var t = numberCentre(degrees)
            return yellowExtent(shot, t.x, t.y, reach, reach) > 0
        }

        function textWidth(text) {
            var ctx = metricsCanvas.getContext("2d")
            ctx.font = page.angleStepTextFont
            return ctx.measureText(text).width
        }

        function pointAt(degrees, distance) {
            var a = -degrees * Math.PI / 180
            return {
                "x": Math.round(page.circleX * page.canvas.width + distance * Math.cos(a)),
                "y": Math.round(page.circleY * page.canvas.height + distance * Math.sin(a))
            }
        }

        function loadPicture(name) {
            page.image.source = PageTest.pictureUrl(name)
            tryCompare(page.image, "status", Image.Ready)
            tryVerify(function () { return page.picturePreview.drawn }, 10000)
        }

        // Cross and circle at the graduation's width + 1, rays at its width.
        function test_lineWidths_data() {
            return [{ "tag": "width 1", "width": 1 }, { "tag": "width 3", "width": 3 }]
        }

        function test_lineWidths(data) {
            page.circleWidthSpinBox.value = data.width
            var shot = paintAndGrab()
            var w = data.width
            // Right arm of the cross, between the circle and the numbers (x 528 to 692).
            fuzzyCompare(coverage(shot, 600, 285, 0, 1, 30), w + 1, 0.3)
            verify(PageTest.near(shot.pixel(600, 299), Qt.rgba(1, 1, 1, 1), 0.05))
            // Lower arm, below the circle.
            fuzzyCompare(coverage(shot, 385, 480, 1, 0, 30), w + 1, 0.3)
            // The circle near its top, clear of the cross and of the upward ray.
            fuzzyCompare(coverage(shot, 405, 160, 0, 1, 25), w + 1, 0.3)
            // The ray at canvas angle 10 degrees crosses x = 600 at y = 335.3, slanted.
            fuzzyCompare(coverage(shot, 600, 320, 0, 1, 30), w / Math.cos(Math.PI / 18), 0.3)
        }

        // No ray is laid over the cross rightwards or downwards; leftwards and upwards
        // one is, which shows with a half-transparent colour.
        function test_translucentCrossAndSkippedRays() {
            settings.mainColor = "#80ffffff"
            var shot = paintAndGrab()
            var right = brightness(shot.pixel(600, 299))
            var down = brightness(shot.pixel(399, 500))
            var left = brightness(shot.pixel(200, 299))
            var up = brightness(shot.pixel(399, 100))
            fuzzyCompare(right, 0.5, 0.06)
            fuzzyCompare(down, 0.5, 0.06)
            verify(left > right + 0.08, "left arm " + left + ", right arm " + right)
            verify(up > down + 0.08, "upper arm " + up + ", lower arm " + down)
            // The circle, over black, at the same half strength.
            var circle = shot.pixel(400 + Math.round(128 * Math.cos(Math.PI / 4)),
                                    300 - Math.round(128 * Math.sin(Math.PI / 4)))
            verify(brightness(circle) > 0.2 && brightness(circle) < 0.6,
                   "circle " + brightness(circle))
        }

        // Numbers every 5 degrees while the centre is more than 0.3 x H from the nearest
        // edge, every 10 while more than 0.2 x H, else every 20; both bounds strict.
        function test_numberModulus_data() {
            return [
                        { "tag": "just over 0.3 H", "centreY": 181, "shown": [5, 10, 20, 90] },
                        { "tag": "exactly 0.3 H", "centreY": 180, "shown": [10, 20, 90], "hidden": [5, 15] },
                        { "tag": "just over 0.2 H", "centreY": 121, "shown": [10, 20, 90], "hidden": [5] },
                        { "tag": "exactly 0.2 H", "centreY": 120, "shown": [20, 40, 80], "hidden": [5, 10, 90] }
                    ]
        }

        function test_numberModulus(data) {
            settings.angleStep10 = false
            page.circleRadiusSlider.value = 60
            page.circleY = data.centreY / 600
            fuzzyCompare(page.minDistanceToBorder(), data.centreY, 1e-9)
            var shot = paintAndGrab()
            var i
            for (i = 0; i < data.shown.length; ++i)
                verify(hasNumber(shot, data.shown[i], 4), "no number at " + data.shown[i])
            var hidden = data.hidden || []
            for (i = 0; i < hidden.length; ++i)
                verify(!hasNumber(shot, hidden[i], 2), "a number at " + hidden[i])
        }

        // Each number shows the user angle of its direction modulo 180.
        function test_numberTexts() {
            var shot = paintAndGrab()
            var digits = { "0": 1, "90": 2, "100": 3, "180": 1, "190": 2, "270": 2, "350": 3 }
            for (var degrees in digits) {
                var t = numberCentre(Number(degrees))
                var text = String(Number(degrees) % 180)
                compare(text.length, digits[degrees])
                var extent = yellowExtent(shot, t.x, t.y, 14, 5)
                verify(Math.abs(extent - textWidth(text)) <= 3.3,
                       "at " + degrees + ": " + extent + " pixels of text for \"" + text + "\"")
            }
        }

        // The box behind a number is cleared: the picture shows through it, also where
        // the cross runs under the number.
        function test_numberBoxesShowThePicture() {
            createPage(950, 400)
            loadPicture("landscape-800x400.png") // red left half, blue right half
            compare(page.canvas.width, 800)
            compare(page.canvas.height, 400)
            var shot = paintAndGrab()
            var blue = Qt.rgba(0, 0, 1, 1)
            var red = Qt.rgba(1, 0, 0, 1)
            var white = Qt.rgba(1, 1, 1, 1)
            // "0" on the right arm of the cross, 192 pixels right of the centre.
            // The box takes the text, its outline (1.5 pixels) and a padding of 2.
            var half = textWidth("0") / 2 + 3.5
            verify(PageTest.near(shot.pixel(Math.ceil(592 - half), 199), blue, 0.1))
            verify(PageTest.near(shot.pixel(Math.floor(592 + half) - 1, 199), blue, 0.1))
            verify(PageTest.near(shot.pixel(Math.floor(592 - half) - 2, 199), white, 0.1))
            verify(PageTest.near(shot.pixel(Math.ceil(592 + half) + 1, 199), white, 0.1))
            // "90" on the upper arm, centred at y = 8; its box ends at y = 16.
            verify(PageTest.near(shot.pixel(399, 15), red, 0.1))
            verify(PageTest.near(shot.pixel(399, 17), white, 0.1))
            verify(yellowExtent(shot, 592, 200, 6, 5) > 0)
            verify(yellowExtent(shot, 400, 8, 10, 5) > 0)
        }

        // Yellow over white still reads: the numbers and the labels over the picture
        // keep their colour inside a dark outline.
        function test_textsOutlinedOverWhite() {
            page.drawingRectangle.color = "white"
            page.referenceLabel.text = "Visit 3"
            page.referenceLabel.visible = true
            paintAndGrab()
            var shot = grabImage(page.drawingRectangle)
            var count = function (x0, y0, x1, y1, test) {
                var n = 0
                for (var x = Math.round(x0); x < x1; ++x)
                    for (var y = Math.round(y0); y < y1; ++y)
                        n += test(shot.pixel(x, y)) ? 1 : 0
                return n
            }
            var dark = function (c) { return brightness(c) < 0.35 }
            // "0" on the cross's right arm, 8 pixels inside the nearest edge: at (692, 300).
            verify(count(684, 292, 700, 308, isYellow) > 3, "no yellow number")
            verify(count(684, 292, 700, 308, dark) > 6, "no outline around the number")
            var label = page.referenceLabel.mapToItem(page.drawingRectangle, 0, 0)
            var box = [label.x, label.y, label.x + page.referenceLabel.contentWidth,
                       label.y + page.referenceLabel.height]
            verify(count(box[0], box[1], box[2], box[3], isYellow) > 20, "no yellow label")
            verify(count(box[0], box[1], box[2], box[3], dark) > 20, "no outline around the label")
        }

        // The guide line through the centre at its rotation; the sector's two edges and
        // no arc between them; both over the graduation, in their labels' colours.
        function test_guideLineAndSector() {
            page.lineVisibleSwitch.checked = true
            page.lineWidthSpinBox.value = 3
            page.compassVisibleSwitch.checked = true
            page.compassWidthSpinBox.value = 3
            page.compassLabel.color = "#8000ffff"
            page.compassRotationSlider.value = 35
            page.compassAngleSlider.value = 20
            var shot = paintAndGrab()
            var magenta = Qt.rgba(1, 0, 1, 1)
            var p = pointAt(45, 250)
            verify(PageTest.near(shot.pixel(p.x, p.y), magenta, 0.1), "upper right arm")
            p = pointAt(225, 250)
            verify(PageTest.near(shot.pixel(p.x, p.y), magenta, 0.1), "lower left arm")
            p = pointAt(135, 250)
            verify(brightness(shot.pixel(p.x, p.y)) < 0.05, "nothing across the line")
            var halfCyan = Qt.rgba(0, 0.5, 0.5, 1)
            p = pointAt(35, 200)
            verify(PageTest.near(shot.pixel(p.x, p.y), halfCyan, 0.08), "rotation edge")
            p = pointAt(55, 200)
            verify(PageTest.near(shot.pixel(p.x, p.y), halfCyan, 0.08), "angle edge")
            p = pointAt(215, 200)
            verify(brightness(shot.pixel(p.x, p.y)) < 0.05, "edges are rays, not lines")
            p = pointAt(52, 140)
            verify(brightness(shot.pixel(p.x, p.y)) < 0.05, "no arc between the edges")
        }

        function reddest(shot, x, y0, y1) {
            var best = 0
            for (var y = y0; y <= y1; ++y)
                best = Math.max(best, shot.pixel(x, y).r)
            return best
        }

        // A finished measure: segment, a circle at each end and its length with one
        // decimal in a cleared box at the middle. One in progress ends at the pointer.
        // The graduation is made invisible, so that only measures and numbers are drawn.
        function test_measures() {
            settings.mainColor = "transparent"
            // 800 picture pixels are 61.7: the first measure's 160 are 12.34.
            page.document.calibrate(Qt.point(0, 0.5), Qt.point(1, 0.5), 61.7, "")
            page.document.addMeasure("distance", [Qt.point(0.1, 0.1), Qt.point(0.3, 0.1)])
            page.addMeasure()
            verify(measures.placePoint(0.35, 0.75))
            mouseMove(page.canvas, 360, 430)
            var shot = paintAndGrab()
            // First measure: (80, 60) to (240, 60), middle (160, 60).
            verify(shot.pixel(120, 59).r > 0.35 && shot.pixel(120, 59).g < 0.1, "segment")
            verify(shot.pixel(80, 52).r > 0.3, "circle at the start")
            verify(shot.pixel(240, 52).r > 0.3, "circle at the end")
            var half = textWidth("12.3 mm") / 2 + 3.5
            fuzzyCompare(yellowExtent(shot, 160, 60, half + 3, 5), textWidth("12.3 mm"), 3)
            verify(shot.pixel(Math.ceil(160 - half), 59).r < 0.05, "box cleared")
            // Second measure: (280, 450) to the pointer at (360, 430), no length.
            verify(reddest(shot, 320, 437, 443) > 0.35, "segment to the pointer")
            verify(shot.pixel(360, 422).r > 0.3, "circle at the pointer")
            compare(yellowExtent(shot, 320, 440, 15, 5), 0)
        }

        // The calibration segment shows only while calibrating, from its first point.
        function test_calibrationSegment() {
            settings.mainColor = "transparent"
            page.calibrateMeasures()
            mouseMove(page.canvas, 600, 100)
            var shot = paintAndGrab()
            verify(reddest(shot, 450, 98, 101) < 0.05, "nothing before the first point")
            measures.calibration = { "start": { "x": 0.25, "y": 1 / 6 }, "end": { "x": -1, "y": -1 } }
            shot = paintAndGrab()
            verify(reddest(shot, 450, 98, 101) > 0.35, "segment to the pointer")
            verify(shot.pixel(608, 100).r > 0.3, "circle at the pointer")
            page.resetMeasures()
            shot = paintAndGrab()
            verify(reddest(shot, 450, 98, 101) < 0.05, "gone after the calibration")
        }

        // Requests made before the next frame are served by one paint.
        function test_requestsShareOnePaint() {
            PageTest.waitForPendingPaint(testCase, page.canvas)
            paintSpy.clear()
            page.canvas.requestPaint()
            page.circleRadiusSlider.value = 100
            page.lineVisibleSwitch.checked = true
            page.lineRotationSlider.value = 10
            page.canvas.requestPaint()
            compare(paintSpy.count, 0)
            verify(isPolishScheduled(page.canvas))
            PageTest.waitForPendingPaint(testCase, page.canvas)
            compare(paintSpy.count, 1)
        }

        // The font of the numbers is one the canvas accepts, at 9 points: Arial where
        // it is installed, else its metric twin.
        function test_numberFont() {
            var ctx = metricsCanvas.getContext("2d")
            ctx.font = page.angleStepTextFont
            var family = Qt.fontFamilies().indexOf("Arial") >= 0 ? "Arial" : "Liberation Sans"
            compare(ctx.font.split(",").slice(0, 2).join(","), family + ",9")
        }

        // The export captures the drawing area: the overlay must be in the capture as
        // last requested, without waiting for the screen.
        function test_overlayInCapture() {
            createPage(950, 400)
            loadPicture("landscape-800x400.png")
            page.circleX = 0.75
            page.canvas.requestPaint()
            var url = null
            page.drawingRectangle.grabToImage(function (result) {
                url = result.url.toString()
                pixelCanvas.loadImage(url)
            }, Qt.size(800, 400))
            tryVerify(function () {
                return url !== null && pixelCanvas.isImageLoaded(url)
            }, 10000)
            var data = pixelCanvas.getContext("2d").createImageData(url)
            pixelCanvas.unloadImage(url)
            compare(data.width, 800)
            function pixel(x, y) {
                var i = (y * data.width + x) * 4
                return Qt.rgba(data.data[i] / 255, data.data[i + 1] / 255,
                               data.data[i + 2] / 255, data.data[i + 3] / 255)
            }
            var white = Qt.rgba(1, 1, 1, 1)
            // The vertical arm of the cross at x = 600, over the blue half and the red.
            verify(PageTest.near(pixel(599, 350), white, 0.1), "cross over blue")
            verify(PageTest.near(pixel(100, 199), white, 0.1), "cross over red")
            verify(PageTest.near(pixel(580, 350), Qt.rgba(0, 0, 1, 1), 0.1), "picture beside it")
            verify(PageTest.near(pixel(400, 350), Qt.rgba(0, 0, 1, 1), 0.1), "no cross at the old place")
            // The circle about (600, 200).
            var top = pixel(610, 200 - Math.round(Math.sqrt(128 * 128 - 100)))
            verify(brightness(top) > 0.6, "circle")
        }

        // After a circle dragged by the mouse the screen shows the overlay as a page
        // painted afresh with the circle at that place shows it, and in both the
        // canvas's own pixels one for one: no texture resampled (no picture: the
        // canvas lies over black).
        function test_circleDragShowsTheFreshPaint() {
            var c = page.canvas
            var x = page.circleX * c.width + 10
            var y = page.circleY * c.height + 10
            mousePress(c, x, y)
            for (var i = 1; i <= 20; ++i)
                mouseMove(c, x - 7 * i, y - 3 * i, 5, Qt.LeftButton)
            mouseRelease(c, x - 140, y - 60)
            mouseMove(c, 3, 3) // nothing pointed at
            var place = Qt.point(page.circleX, page.circleY)
            verify(place.x < 0.45 && place.y < 0.45, place.x + ", " + place.y)
            var dragged = paintAndGrab()
            function shownAsPainted(shot) {
                var layer = findChild(page, "graduationLayer")
                var data = layer.getContext("2d").getImageData(0, 0, c.width, c.height).data
                // The page's labels lie over the canvas's lowest 60 rows.
                for (var py = 0; py < c.height - 60; py += 3) {
                    for (var px = 0; px < c.width; px += 3) {
                        var k = (py * c.width + px) * 4
                        var a = data[k + 3] / 255
                        var painted = Qt.rgba(data[k] / 255 * a, data[k + 1] / 255 * a,
                                              data[k + 2] / 255 * a, 1)
                        if (!PageTest.near(shot.pixel(px, py), painted, 2 / 255))
                            return px + ", " + py + ": " + shot.pixel(px, py) + " for " + painted
                    }
                }
                return ""
            }
            compare(shownAsPainted(dragged), "")

            createPage(950, 600)
            page.setCircleCentre(place.x, place.y)
            var fresh = paintAndGrab()
            for (var fy = 0; fy < c.height; fy += 2) {
                for (var fx = 0; fx < c.width; fx += 2) {
                    if (!PageTest.near(dragged.pixel(fx, fy), fresh.pixel(fx, fy), 1 / 255))
                        fail(fx + ", " + fy + ": " + dragged.pixel(fx, fy) + " after the drag, "
                             + fresh.pixel(fx, fy) + " painted afresh")
                }
            }
            compare(shownAsPainted(fresh), "")
        }
    }
}
