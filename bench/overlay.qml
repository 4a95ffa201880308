import QtQuick 2.15
import QtQuick.Window 2.15
import QtTest 1.2
import "qrc:/"

// Overlay painting benchmark: prints figures and checks only that it measured
// something. Run it with bench/overlay.py.
Item {
    id: root
    width: 1750
    height: 1000

    MainPage {
        id: page
        anchors.fill: parent
    }

    TestCase {
        id: bench
        name: "OverlayBench"
        when: windowShown

        property int paints: 0
        property int frames: 0
        property bool timeScript: false
        property real handlerEnd: 0
        property var scriptTimes: []
        property var drawTimes: []
        property var frameTimes: []

        Connections {
            target: page.canvas
            // Runs after the page's own paint handler, which was connected first. To
            // time the script alone it runs the procedure once more (the canvas then
            // draws both runs, so drawing is not timed meanwhile).
            function onPaint() {
                if (bench.timeScript) {
                    var t0 = Date.now()
                    page.paintOverlay()
                    bench.scriptTimes.push(Date.now() - t0)
                }
                bench.paints++
                bench.handlerEnd = Date.now()
            }
            // Once the commands are drawn into the canvas's texture, on whichever thread
            // the render strategy uses.
            function onPainted() {
                if (!bench.timeScript)
                    bench.drawTimes.push(Date.now() - bench.handlerEnd)
            }
        }

        Connections {
            target: root.Window.window
            // Once per frame on this thread, before the items are polished (where the
            // canvas paints); frameSwapped would come from the render thread.
            function onAfterAnimating() {
                bench.frames++
                bench.frameTimes.push(Date.now())
            }
        }

        function percentile(values, p) {
            var sorted = values.slice().sort(function (a, b) {
                return a - b
            })
            return sorted[Math.min(sorted.length - 1, Math.floor(p * sorted.length))]
        }

        function report(what, values) {
            console.log(what + ": median " + percentile(values, 0.5) + " ms, 95th percentile "
                        + percentile(values, 0.95) + " ms (" + values.length + " samples)")
        }

        function waitForPaints(count) {
            var giveUp = Date.now() + 2000
            while (paints < count && Date.now() < giveUp)
                wait(0)
        }

        // 72 numbers (every 5 degrees with room around the circle), the guide line,
        // the sector and 20 finished measures.
        function fillOverlay() {
            findChild(page, "settings").angleStep10 = false
            page.lineVisibleSwitch.checked = true
            page.compassVisibleSwitch.checked = true
            page.document.clearMeasures()
            page.document.calibrate(Qt.point(0, 0.5), Qt.point(1, 0.5), 100, "mm")
            for (var i = 0; i < 20; ++i) {
                var y = 0.05 + i * 0.045
                page.document.addMeasure("distance", [Qt.point(0.05, y), Qt.point(0.3, y + 0.02)])
            }
        }

        // Each repaint waits for the previous one to be drawn.
        function repaint(times) {
            var latency = []
            for (var i = 0; i < times; ++i) {
                var t0 = Date.now()
                var drawn = drawTimes.length
                var p = paints
                page.canvas.requestPaint()
                waitForPaints(p + 1)
                while (!timeScript && drawTimes.length === drawn && Date.now() - t0 < 2000)
                    wait(0)
                latency.push(Date.now() - t0)
            }
            return latency
        }

        function test_1_paint() {
            compare(page.canvas.width, 1600)
            compare(page.canvas.height, 1000)
            fillOverlay()
            repaint(10)
            timeScript = true
            repaint(300)
            timeScript = false
            drawTimes = []
            var latency = repaint(300)
            console.log("canvas render strategy " + page.canvas.renderStrategy
                        + " (0 immediate, 1 threaded, 2 cooperative), render target "
                        + page.canvas.renderTarget + " (0 image, 1 framebuffer object)")
            console.log("1600 x 1000 canvas, 72 numbers, guide line, sector, 20 measures:")
            report("  paint procedure (script)", scriptTimes)
            report("  drawing its commands into the canvas", drawTimes)
            report("  repaint request to drawn canvas", latency)
            compare(scriptTimes.length, 300)
            verify(drawTimes.length >= 300)
        }

        // A circle drag by real pointer events, one every 2 ms at most (a fast mouse).
        function test_2_drag() {
            circleDrag("circle drag")
        }

        // Taken 10 pixels from its centre where the view shows it.
        function circleDrag(what) {
            var c = page.canvas
            var centre = page.view.toView(Qt.point(page.circleX, page.circleY))
            var x0 = centre.x + 10
            var y0 = centre.y + 10
            mouseMove(c, x0, y0)
            mousePress(c, x0, y0)
            var p0 = paints
            var f0 = frames
            frameTimes = []
            var t0 = Date.now()
            for (var i = 1; i <= 300; ++i)
                mouseMove(c, x0 + 200 * Math.sin(i * Math.PI / 75), y0 + i % 50, 2,
                          Qt.LeftButton)
            var seconds = (Date.now() - t0) / 1000
            compare(page.mouseAction, 4)
            mouseRelease(c, x0, y0)
            var intervals = []
            for (var k = 1; k < frameTimes.length; ++k)
                intervals.push(frameTimes[k] - frameTimes[k - 1])
            console.log(what + ": 300 pointer moves in " + seconds.toFixed(2) + " s, "
                        + (paints - p0) + " paints, " + (frames - f0) + " frames, "
                        + ((frames - f0) / seconds).toFixed(1) + " frames per second")
            report("  time per frame", intervals)
            verify(paints - p0 > 0)
        }

        // The test pictures, written by the build next to the test runner.
        function pictureUrl(name) {
            var runner = Qt.application.arguments[0]
            return "file://" + runner.substring(0, runner.lastIndexOf("/bin/")) + "/tests/pictures/"
                    + name
        }

        // The guide line swung once to and fro around 45 degrees, 300 pixels out, by
        // 300 real pointer moves; the magnifier follows the pointer when it is on.
        function lineDrag(what, magnifierOn) {
            var c = page.canvas
            var centre = page.view.toView(Qt.point(page.circleX, page.circleY))
            var cx = centre.x
            var cy = centre.y
            var at = function (degrees) {
                var a = degrees * Math.PI / 180
                return { "x": cx + 300 * Math.cos(a), "y": cy - 300 * Math.sin(a) }
            }
            page.lineRotationSlider.value = 45
            var start = at(45)
            mouseMove(c, start.x, start.y)
            mousePress(c, start.x, start.y)
            var p0 = paints
            var f0 = frames
            frameTimes = []
            var t0 = Date.now()
            for (var i = 1; i <= 300; ++i) {
                var p = at(45 + 40 * Math.sin(i * Math.PI / 150)) // first step within a degree
                mouseMove(c, p.x, p.y, 2, Qt.LeftButton)
            }
            var seconds = (Date.now() - t0) / 1000
            compare(page.mouseAction, 1)
            compare(findChild(page, "magnifier").visible, magnifierOn)
            mouseRelease(c, start.x, start.y)
            var intervals = []
            for (var k = 1; k < frameTimes.length; ++k)
                intervals.push(frameTimes[k] - frameTimes[k - 1])
            console.log(what + ": 300 pointer moves in " + seconds.toFixed(2) + " s, "
                        + (paints - p0) + " paints, " + (frames - f0) + " frames, "
                        + ((frames - f0) / seconds).toFixed(1) + " frames per second")
            report("  time per frame", intervals)
            verify(paints - p0 > 0)
        }

        // On a 6000 x 4000 photo, as users measure on.
        function test_3_lineDragWithAndWithoutMagnifier() {
            page.image.source = pictureUrl("photo-6000x4000.jpg")
            tryCompare(page.image, "status", Image.Ready, 30000)
            page.lineVisibleSwitch.checked = true
            page.magnifierSwitch.checked = true
            lineDrag("guide line drag on a 6000 x 4000 photo, magnifier on", true)
            page.magnifierSwitch.checked = false
            lineDrag("guide line drag on a 6000 x 4000 photo, magnifier off", false)
            page.magnifierSwitch.checked = true
        }

        function intervalsOf(times) {
            var intervals = []
            for (var k = 1; k < times.length; ++k)
                intervals.push(times[k] - times[k - 1])
            return intervals
        }

        // One end of the middle one of 20 measures dragged by 300 real pointer moves
        // over the same photo, magnifier on: each move is a step of the document.
        function test_4_measureEndDrag() {
            fillOverlay()
            var c = page.canvas
            var end = { "x": 0.3 * c.width, "y": (0.05 + 10 * 0.045 + 0.02) * c.height }
            mouseMove(c, end.x + 20, end.y + 20)
            mouseMove(c, end.x, end.y)
            mousePress(c, end.x, end.y)
            var p0 = paints
            var f0 = frames
            frameTimes = []
            var t0 = Date.now()
            for (var i = 1; i <= 300; ++i)
                mouseMove(c, end.x + 200 * Math.sin(i * Math.PI / 150), end.y + (i % 40), 2,
                          Qt.LeftButton)
            var seconds = (Date.now() - t0) / 1000
            compare(page.mouseAction, 5)
            mouseRelease(c, end.x, end.y)
            console.log("measure end drag on a 6000 x 4000 photo, 20 measures, magnifier on: "
                        + "300 pointer moves in " + seconds.toFixed(2) + " s, " + (paints - p0)
                        + " paints, " + (frames - f0) + " frames, "
                        + ((frames - f0) / seconds).toFixed(1) + " frames per second")
            report("  time per frame", intervalsOf(frameTimes))
            compare(page.document.undoText, "Move point")
            verify(paints - p0 > 0)
        }

        // The photo opened as a user opens it, so that its record is kept: a burst of
        // 100 arrow keys on a point, the record written meanwhile (twice a second).
        function test_5_nudgeBurstWithRecord() {
            var store = page.pictureRecord.store
            store.folder = store.folder + "-bench-" + Date.now()
            page.openPicture(pictureUrl("photo-6000x4000.jpg"))
            tryVerify(function () { return store.pictureKey !== "" }, 30000)
            fillOverlay()
            var c = page.canvas
            var end = { "x": 0.3 * c.width, "y": (0.05 + 10 * 0.045 + 0.02) * c.height }
            mouseClick(c, end.x, end.y)
            nudgeBurst("no record written meanwhile", 1000000000)
            nudgeBurst("the record written twice a second", 500)
        }

        function nudgeBurst(what, writeDelay) {
            page.pictureRecord.store.flush() // no write pending from before
            page.pictureRecord.store.writeDelay = writeDelay
            frameTimes = []
            var longestKey = 0
            var t0 = Date.now()
            for (var i = 0; i < 100; ++i) {
                var k0 = Date.now()
                keyClick(Qt.Key_Right)
                longestKey = Math.max(longestKey, Date.now() - k0)
                wait(10) // keys come as a held key repeats them, about 30 a second
            }
            var seconds = (Date.now() - t0) / 1000
            page.pictureRecord.store.flush()
            var gaps = intervalsOf(frameTimes)
            console.log("100 nudges in " + seconds.toFixed(2) + " s, " + what + ": longest key "
                        + longestKey + " ms, longest time between frames " + percentile(gaps, 1)
                        + " ms")
            report("  time per frame", gaps)
            verify(gaps.length > 0)
        }

        // The ceiling of those drags: a bare window of the page's size showing the same
        // picture copy where the page shows it, and a small item that the same pointer
        // moves carry, with nothing else to draw.
        Component {
            id: bareWindow
            Window {
                id: bare
                property alias picture: barePicture
                property alias area: bareArea
                property int frames: 0
                color: "#efefef"
                onAfterAnimating: frames++
                Image {
                    id: barePicture
                    asynchronous: true
                    autoTransform: true
                    cache: false
                }
                Rectangle {
                    x: bareArea.mouseX - 5
                    y: bareArea.mouseY - 5
                    width: 10
                    height: 10
                    color: "yellow"
                }
                MouseArea {
                    id: bareArea
                    anchors.fill: barePicture
                    hoverEnabled: true
                }
            }
        }

        function baselineDrag() {
            var c = page.canvas
            var place = c.mapToItem(root, 0, 0)
            var w = bareWindow.createObject(null, { "width": root.width, "height": root.height })
            w.picture.x = place.x
            w.picture.y = place.y
            w.picture.width = c.width
            w.picture.height = c.height
            w.picture.sourceSize = Qt.size(Math.ceil(c.width), Math.ceil(c.height))
            w.picture.source = page.image.source
            w.show()
            tryCompare(w.picture, "status", Image.Ready, 30000)
            tryVerify(function () { return w.frames > 0 }, 5000)
            wait(200)
            var a = w.area
            var x0 = c.width / 2
            var y0 = c.height / 2
            mouseMove(a, x0, y0)
            mousePress(a, x0, y0)
            var f0 = w.frames
            var t0 = Date.now()
            for (var i = 1; i <= 300; ++i)
                mouseMove(a, x0 + 200 * Math.sin(i * Math.PI / 75), y0 + i % 50, 2, Qt.LeftButton)
            var seconds = (Date.now() - t0) / 1000
            mouseRelease(a, x0, y0)
            console.log("baseline, a bare window with the same picture and a 10 pixel item "
                        + "dragged: 300 pointer moves in " + seconds.toFixed(2) + " s, "
                        + (w.frames - f0) + " frames, " + ((w.frames - f0) / seconds).toFixed(1)
                        + " frames per second")
            verify(w.frames - f0 > 0)
            w.destroy()
            wait(100)
        }

        // The picture and the overlay's canvas sampled as they were before their
        // textures were shown pixel for pixel (linear), for a comparison in one run;
        // false gives them back the page's own sampling.
        function sampleLinearly(on) {
            findChild(page, "graduationLayer").smooth = on
            findChild(page, "zoomedPicture").smooth = on
            page.picturePreview.smooth = on || !page.view.fitted
            wait(100)
        }

        function dragsBothWays(view) {
            sampleLinearly(true)
            circleDrag("circle drag on the photo, " + view + ", linear sampling (before)")
            lineDrag("guide line drag on the photo, " + view + ", linear sampling (before)", false)
            sampleLinearly(false)
            circleDrag("circle drag on the photo, " + view)
            lineDrag("guide line drag on the photo, " + view, false)
        }

        // The circle and the guide line dragged over the 6000 x 4000 photo, the picture
        // whole and then at 8 screen pixels per picture pixel about the circle's centre
        // (the overlay drawn through the view), magnifier off.
        function test_6_dragsWholeAndAtEightTimes() {
            page.image.source = pictureUrl("photo-6000x4000.jpg")
            tryCompare(page.image, "status", Image.Ready, 30000)
            page.magnifierSwitch.checked = false
            page.document.clearMeasures()
            page.lineVisibleSwitch.checked = true
            page.view.fit()
            baselineDrag()
            dragsBothWays("fitted view")
            var centre = page.view.toView(Qt.point(page.circleX, page.circleY))
            page.view.zoomAbout(centre, 1000)
            compare(page.view.scale, 8)
            var picture = findChild(page, "zoomedPicture")
            tryVerify(function () { return picture.visible && picture.ready }, 10000)
            wait(200)
            dragsBothWays("8x view")
            baselineDrag()
            page.view.fit()
            page.magnifierSwitch.checked = true
        }
    }
}
