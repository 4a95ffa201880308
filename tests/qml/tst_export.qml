import QtQuick 2.15
import QtTest 1.2
import Qt.labs.platform 1.1 as Platform
import "tst_main_helpers.js" as Helpers
import "pagetest.js" as PageTest

TestCase {
    id: testCase
    name: "CompositeExport"
    when: windowShown
    width: 200
    height: 100

    readonly property color pictureColor: "#2060a0"
    property var window: null
    property var page: null

    Rectangle {
        id: pictureSource
        width: 40
        height: 30
        color: pictureColor
    }

    // Reads the pixels of a composite exactly, alpha included.
    Canvas {
        id: pixelCanvas
        width: 1
        height: 1
        renderStrategy: Canvas.Immediate
    }

    SignalSpy {
        id: saveSpy
        signalName: "saveImageRequested"
    }

    SignalSpy {
        id: printSpy
        signalName: "printImageRequested"
    }

    function init() {
        window = Helpers.createWindow(testCase)
        page = Helpers.findObject(window, "mainPage")
        saveSpy.target = window
        printSpy.target = window
        saveSpy.clear()
        printSpy.clear()
    }

    function homeFolder() {
        var url = Platform.StandardPaths.writableLocation(Platform.StandardPaths.HomeLocation)
        return Helpers.localPath(url)
    }

    // A plain picture of the given size, written as a PNG file.
    function writePicture(w, h) {
        var path = homeFolder() + "/picture-" + w + "x" + h + ".png"
        var saved = null
        pictureSource.grabToImage(function (result) {
            saved = result.saveToFile(path)
        }, Qt.size(w, h))
        tryVerify(function () { return saved !== null }, 20000)
        verify(saved, "could not write " + path)
        return Helpers.fileUrl(path)
    }

    // Loads the picture and waits until the drawing area has its proportions.
    function loadPicture(url, w, h) {
        page.image.source = url
        tryCompare(page.image, "status", Image.Ready)
        compare(page.image.sourceSize.width, w)
        tryVerify(function () {
            var d = page.drawingRectangle
            return Math.abs(d.width / d.height - w / h) < 0.01
        }, 2000, "the drawing area does not take the picture's proportions")
        waitForRendering(page.drawingRectangle)
    }

    // The capture's result lives only as long as its callback: its image is
    // handed to the pixel reader from there.
    function capture() {
        var url = null
        window.grabToImage(function (result) {
            url = result.url.toString()
            if (url !== "")
                pixelCanvas.loadImage(url)
        })
        tryVerify(function () { return url !== null }, 30000, "no capture came back")
        verify(url !== "", "the capture has no image")
        tryVerify(function () { return pixelCanvas.isImageLoaded(url) }, 10000)
        var data = pixelCanvas.getContext("2d").createImageData(url)
        pixelCanvas.unloadImage(url)
        return data
    }

    function pixel(data, x, y) {
        var i = (y * data.width + x) * 4
        return [data.data[i], data.data[i + 1], data.data[i + 2], data.data[i + 3]]
    }

    function isPictureColour(p) {
        return Math.abs(p[0] - 0x20) < 8 && Math.abs(p[1] - 0x60) < 8 && Math.abs(p[2] - 0xa0) < 8 && p[3] > 247
    }

    // Yellow text, also where it only partly covers a pixel of the picture.
    function isYellow(p) {
        return p[0] - p[2] > 40 && p[1] - p[2] > 40
    }

    // The smallest rectangle holding every pixel of the area that passes the test.
    function bounds(data, area, test) {
        var box = null
        var x0 = Math.max(0, Math.floor(area.x)), y0 = Math.max(0, Math.floor(area.y))
        var x1 = Math.min(data.width, Math.ceil(area.x + area.width))
        var y1 = Math.min(data.height, Math.ceil(area.y + area.height))
        for (var y = y0; y < y1; ++y) {
            for (var x = x0; x < x1; ++x) {
                if (!test(pixel(data, x, y)))
                    continue
                if (!box)
                    box = { "left": x, "top": y, "right": x, "bottom": y }
                box.left = Math.min(box.left, x)
                box.right = Math.max(box.right, x)
                box.top = Math.min(box.top, y)
                box.bottom = Math.max(box.bottom, y)
            }
        }
        return box
    }

    // An item's rectangle in the drawing area, scaled to the composite.
    function scaledRect(item, factor, margin) {
        var p = item.mapToItem(page.drawingRectangle, 0, 0)
        return {
            "x": p.x * factor - margin,
            "y": p.y * factor - margin,
            "width": item.width * factor + 2 * margin,
            "height": item.height * factor + 2 * margin
        }
    }

    function inside(box, rect) {
        return box.left >= rect.x && box.top >= rect.y && box.right < rect.x + rect.width
                && box.bottom < rect.y + rect.height
    }

    // The height of the yellow text of an item as drawn on screen.
    function screenTextHeight(item) {
        var shot = grabImage(window.contentItem)
        var at = item.mapToItem(window.contentItem, 0, 0)
        var top = -1, bottom = -1
        for (var y = Math.floor(at.y); y < at.y + item.height; ++y) {
            for (var x = Math.floor(at.x); x < at.x + item.width; ++x) {
                var c = shot.pixel(x, y)
                if (isYellow([c.r * 255, c.g * 255, c.b * 255, 255])) {
                    if (top < 0)
                        top = y
                    bottom = y
                }
            }
        }
        verify(top >= 0, "no yellow text on screen")
        return bottom - top + 1
    }

    function checkScreenLook() {
        verify(Qt.colorEqual(page.drawingRectangle.color, "black"))
        compare(page.referenceLabel.visible, false)
        compare(page.waterMark.visible, false)
        compare(Helpers.findObject(window, "busyRectangle").visible, false)
        compare(Helpers.findObject(window, "busyIndicator").running, false)
    }

    // The capture scales the drawing area as laid out on screen up to the
    // picture's own size: labels and watermark grow by the same factor.
    function checkScaledComposite(w, h, reference) {
        loadPicture(writePicture(w, h), w, h)
        page.canvas.visible = false // keeps the overlay out of the label and watermark checks
        page.referenceLabel.text = reference
        var factor = w / page.drawingRectangle.width
        var onScreen = screenTextHeight(page.eyeLabel)

        var data = capture()
        compare(data.width, w)
        compare(data.height, h)
        checkScreenLook()

        var margin = Math.max(2, factor)
        var eye = bounds(data, scaledRect(page.eyeLabel, factor, 4 * margin), isYellow)
        verify(eye !== null, "no eye label in the composite")
        verify(inside(eye, scaledRect(page.eyeLabel, factor, margin)), "the eye label is out of place")
        var height = eye.bottom - eye.top + 1
        verify(Math.abs(height - onScreen * factor) <= 2 * factor + 1,
               "eye label text " + height + " pixels high, expected " + onScreen * factor)

        var referenceText = bounds(data, scaledRect(page.referenceLabel, factor, 0), isYellow)
        compare(referenceText !== null, reference !== "")

        // The watermark is white at half opacity: the only other colour there.
        // It keeps its place above the reference line whether or not that has text.
        var mark = scaledRect(page.waterMark, factor, 0)
        compare(mark.width, 96 * factor)
        compare(mark.x, 16 * factor)
        compare(mark.y, (page.drawingRectangle.height - 156) * factor)
        var referenceTop = scaledRect(page.referenceLabel, factor, 0).y
        var bottomLeft = { "x": 0, "y": h / 2, "width": w / 3, "height": referenceTop - h / 2 }
        var drawn = bounds(data, bottomLeft, function (p) {
            return !isPictureColour(p) && !isYellow(p)
        })
        verify(drawn !== null, "no watermark in the composite")
        verify(inside(drawn, scaledRect(page.waterMark, factor, margin)),
               "the watermark is out of place: " + JSON.stringify(drawn) + " not in "
               + JSON.stringify(scaledRect(page.waterMark, factor, margin)))
        verify(drawn.right - drawn.left + 1 >= 0.5 * mark.width, "the watermark is too small")
        return data
    }

    function test_largePicture() {
        var data = checkScaledComposite(4000, 3000, "Ref 12")
        // The picture itself is drawn at full resolution, edge to edge.
        verify(isPictureColour(pixel(data, 0, 0)))
        verify(isPictureColour(pixel(data, 3999, 0)))
        verify(isPictureColour(pixel(data, 2000, 1500)))
    }

    // The overlay is drawn at the picture's resolution: across the cross's horizontal
    // line (two screen pixels wide) a solid band of twice the factor, with at most
    // one partly covered pixel on each side; and as last changed before the capture.
    function test_sharpOverlay() {
        loadPicture(writePicture(4000, 3000), 4000, 3000)
        var factor = 4000 / page.drawingRectangle.width
        var x = Math.round((page.canvas.width * page.circleX + page.circleRadiusSlider.value + 20)
                           * factor)
        var centre = page.canvas.height * page.circleY * factor
        page.compassVisibleSwitch.checked = true
        page.compassRotationSlider.value = 33
        var data = capture()
        compare(data.width, 4000)
        compare(data.height, 3000)
        var solid = 0, partial = []
        for (var y = Math.round(centre - 4 * factor); y < centre + 4 * factor; ++y) {
            var p = pixel(data, x, y)
            if (p[0] > 247 && p[1] > 247 && p[2] > 247)
                ++solid
            else if (!isPictureColour(p))
                partial.push(y)
        }
        verify(solid > 2 * factor - 2 && solid <= 2 * factor,
               solid + " solid pixels at a factor of " + factor)
        verify(partial.length <= 2 && partial.every(function (y) {
            return Math.abs(y - centre) < factor + 2
        }), "partly covered pixels at " + partial)
        // The sector's first edge, switched on and turned just before, off the graduation.
        var rise = (x / factor - page.canvas.width * page.circleX) * Math.tan(33 * Math.PI / 180)
        var edge = pixel(data, x, Math.round(centre - rise * factor))
        verify(!isPictureColour(edge), "no sector edge in the composite: " + edge)
        verify(page.canvas.visible && !page.exportOverlay.visible)
    }

    // The screen draws a copy of the picture scaled to the drawing area, never the
    // picture itself; the export still takes every pixel of the picture (each one's
    // colour spells its place: red the low byte of x, green of y).
    function test_screenCopyAndFullExport() {
        loadPicture(PageTest.pictureUrl("coded-2400x1600.png"), 2400, 1600)
        tryVerify(function () { return page.picturePreview.drawn }, 10000)
        var copy = page.picturePreview.front
        verify(copy.implicitWidth <= Math.ceil(page.drawingRectangle.width)
               && copy.implicitHeight <= Math.ceil(page.drawingRectangle.height),
               "a copy of " + copy.implicitWidth + " x " + copy.implicitHeight)
        verify(!page.image.visible)
        var data = capture()
        compare(data.width, 2400)
        for (var d = 0; d < 3; ++d) {
            var p = pixel(data, 2100 + d, 300 + d)
            compare([p[0], p[1]], [(2100 + d) & 255, (300 + d) & 255])
        }
        verify(page.picturePreview.drawn && !page.image.visible, "back to the copy")
    }

    // The composite does not depend on the screen's view: zoomed in and moved, it is
    // the fitted one, pixel for pixel, and the view stays as it was. Ctrl+0 fits again.
    function test_zoomedViewExportsAsFitted() {
        loadPicture(PageTest.pictureUrl("coded-2400x1600.png"), 2400, 1600)
        tryVerify(function () { return page.picturePreview.drawn }, 10000)
        page.compassVisibleSwitch.checked = true
        page.lineVisibleSwitch.checked = true
        page.document.calibrate(Qt.point(0, 0.5), Qt.point(1, 0.5), 24, "mm")
        page.document.addMeasure("distance", [Qt.point(0.2, 0.3), Qt.point(0.6, 0.7)])
        var fitted = capture()
        var view = page.view
        mouseMove(page.canvas, 120, 90)
        mouseWheel(page.canvas, 120, 90, 0, 6 * 120, Qt.NoButton, Qt.ControlModifier)
        mousePress(page.canvas, 200, 200, Qt.MiddleButton)
        mouseMove(page.canvas, 150, 220, -1, Qt.MiddleButton)
        mouseRelease(page.canvas, 150, 220, Qt.MiddleButton)
        verify(view.zoom > 7)
        var offset = view.offset
        verify(offset.x < 0 && offset.y < 0)
        waitForRendering(page.drawingRectangle)
        var zoomed = capture()
        compare(zoomed.width, fitted.width)
        compare(zoomed.height, fitted.height)
        var differing = 0
        for (var i = 0; i < fitted.data.length; ++i) {
            if (zoomed.data[i] !== fitted.data[i])
                ++differing
        }
        compare(differing, 0)
        compare(view.offset, offset)
        verify(findObject("zoomedPicture").visible)

        keySequence("Ctrl+0")
        verify(view.fitted)
        verify(!findObject("zoomedPicture").visible)
    }

    function findObject(name) {
        return findChild(page, name)
    }

    function test_smallPicture() {
        checkScaledComposite(100, 50, "")
    }

    function test_noPicture() {
        var d = page.drawingRectangle
        compare(page.image.sourceSize.width, 0)
        var data = capture()
        compare(data.width, Math.round(d.width))
        compare(data.height, Math.round(d.height))
        checkScreenLook()

        // Where neither overlay nor labels draw, the composite is transparent.
        var clear = 0, samples = 0
        for (var y = 5; y < data.height; y += 37) {
            for (var x = 5; x < data.width; x += 37) {
                ++samples
                if (pixel(data, x, y)[3] === 0)
                    ++clear
            }
        }
        verify(clear > samples / 2, clear + " of " + samples + " samples transparent")
        compare(pixel(data, 0, 0)[3], 0)
    }

    // The status line never goes into the composite; nor do the labels of hidden tools.
    function test_statusTextAndLabels() {
        loadPicture(writePicture(800, 600), 800, 600)
        page.canvas.visible = false
        var factor = 800 / page.drawingRectangle.width
        var message = scaledRect(page.messageLabel, factor, 0)
        var noText = bounds(capture(), message, isYellow)
        compare(noText, null)

        // The status line is the screen's own, even while it asks for a click.
        page.messageLabel.text = "Click on the starting point."
        compare(bounds(capture(), message, isYellow), null, "the status text is in the composite")
        verify(page.messageLabel.visible)

        // With the guide line and the sector off, their labels stay out.
        compare(page.lineLabel.visible, false)
        page.lineLabel.text = "45°"
        var top = { "x": 0, "y": 0, "width": 800, "height": 600 * 0.2 }
        compare(bounds(capture(), top, isYellow), null)
    }

    // The look is switched for the capture and comes back whatever it was.
    function test_captureLookAndRestore() {
        var saveAction = Helpers.action(window, "Save as")
        var printAction = Helpers.action(window, "Print")
        page.referenceLabel.visible = true
        page.drawingRectangle.color = "red"

        window.saveImage()
        verify(Qt.colorEqual(page.drawingRectangle.color, "transparent"))
        compare(page.referenceLabel.visible, true)
        compare(page.waterMark.visible, true)
        compare(Helpers.findObject(window, "busyRectangle").visible, true)
        compare(Helpers.findObject(window, "busyIndicator").running, true)
        compare(saveAction.enabled, false)
        compare(printAction.enabled, false)

        // A second request while the first is pending is refused, and neither
        // the picture nor the drawing area's size changes under the capture.
        window.saveImage()
        window.printImage()
        Helpers.action(window, "Hide toolbar").trigger()
        compare(page.state, "")
        var paste = Helpers.action(window, "Paste image")
        Helpers.findObject(window, "clipboard").imageUrlChanged(true)
        paste.trigger()
        compare(paste.enabled, true)
        tryCompare(saveSpy, "count", 1)
        Helpers.waitForEarlierGrabs(testCase, window)
        compare(saveSpy.count, 1)
        compare(printSpy.count, 0)
        checkScreenLook()
        compare(saveAction.enabled, true)
        compare(printAction.enabled, true)
        verify(saveSpy.signalArguments[0][0] !== undefined)
    }

    // Clicks on the busy overlay do not reach the page beneath.
    // The reference text goes with the composite as the record's title, and the
    // measures list as its text.
    function test_busyOverlayTakesClicks() {
        page.referenceTextField.text = "Visit 3"
        page.lineVisibleSwitch.checked = true
        var busy = Helpers.findObject(window, "busyRectangle")
        busy.visible = true
        mouseClick(page.saveButton)
        Helpers.waitForEarlierGrabs(testCase, window)
        compare(saveSpy.count, 0)
        busy.visible = false
        mouseClick(page.saveButton)
        tryCompare(saveSpy, "count", 1)
        mouseClick(page.printButton)
        tryCompare(printSpy, "count", 1)
        compare(saveSpy.count, 1)
        compare(saveSpy.signalArguments[0][1].title, "Visit 3")
        compare(printSpy.signalArguments[0][1].title, "Visit 3")
        // The record: its heading (reference, eye, program...), then the list.
        var record = saveSpy.signalArguments[0][1]
        verify(record.text.indexOf("Reference\tVisit 3\nEye\tL.E.\n") > 0, record.text)
        verify(/\nItem\tValue\tUnit\nGuide line\t45\t\u00b0\n$/.test(record.text), record.text)
        compare(record.fields.reference, "Visit 3")
        compare(record.fields.program, Qt.application.name + " " + Qt.application.version)
        compare(record.rows, [["Guide line", "45", "\u00b0"]])
    }

    // A window that is not shown cannot be captured: the page must not stay
    // behind the busy overlay.
    function test_refusedGrab() {
        window.visible = false
        ignoreWarning(/grabToImage: item's window is not visible/)
        window.saveImage()
        checkScreenLook()
        compare(Helpers.action(window, "Save as").enabled, true)
        window.visible = true
        tryCompare(window, "visible", true)
        waitForRendering(window.contentItem)
        window.saveImage()
        tryCompare(saveSpy, "count", 1)
    }

    // A solid picture as a PNG data URL: stored (uncompressed) deflate blocks.
    function pngDataUrl(w, h) {
        var row = [0]
        for (var x = 0; x < w; ++x)
            row.push(0x20, 0x60, 0xa0)
        var raw = []
        for (var y = 0; y < h; ++y)
            raw = raw.concat(row)
        var zlib = [0x78, 0x01]
        for (var at = 0; at < raw.length; at += 65535) {
            var n = Math.min(65535, raw.length - at)
            zlib.push(at + n === raw.length ? 1 : 0, n & 0xff, n >> 8, ~n & 0xff, (~n >> 8) & 0xff)
            for (var i = 0; i < n; ++i)
                zlib.push(raw[at + i])
        }
        var a = 1, b = 0
        for (var k = 0; k < raw.length; ++k) {
            a = (a + raw[k]) % 65521
            b = (b + a) % 65521
        }
        zlib = zlib.concat(be32((b << 16 | a) >>> 0))
        var png = [0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]
        png = png.concat(chunk("IHDR", be32(w).concat(be32(h), [8, 2, 0, 0, 0])))
        png = png.concat(chunk("IDAT", zlib), chunk("IEND", []))
        return "data:image/png;base64," + base64(png)
    }

    function base64(bytes) {
        var alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"
        var out = []
        for (var i = 0; i < bytes.length; i += 3) {
            var n = bytes[i] << 16 | (bytes[i + 1] || 0) << 8 | (bytes[i + 2] || 0)
            out.push(alphabet[n >> 18 & 63], alphabet[n >> 12 & 63],
                     i + 1 < bytes.length ? alphabet[n >> 6 & 63] : "=",
                     i + 2 < bytes.length ? alphabet[n & 63] : "=")
        }
        return out.join("")
    }

    function be32(v) {
        return [(v >>> 24) & 0xff, (v >>> 16) & 0xff, (v >>> 8) & 0xff, v & 0xff]
    }

    function chunk(type, body) {
        var bytes = []
        for (var i = 0; i < 4; ++i)
            bytes.push(type.charCodeAt(i))
        bytes = bytes.concat(body)
        var crc = 0xffffffff
        for (var k = 0; k < bytes.length; ++k) {
            crc ^= bytes[k]
            for (var bit = 0; bit < 8; ++bit)
                crc = (crc >>> 1) ^ (0xedb88320 & -(crc & 1))
        }
        return be32(body.length).concat(bytes, be32((crc ^ 0xffffffff) >>> 0))
    }

    function findText(item, text) {
        if (item.text === text)
            return item
        for (var i = 0; i < item.children.length; ++i) {
            var found = findText(item.children[i], text)
            if (found)
                return found
        }
        return null
    }

    // Past the graphics stack's largest texture the capture comes back
    // empty: the user is told, and nothing goes to the printer or a file.
    function test_pictureTooLarge() {
        var url = pngDataUrl(16400, 8)
        page.image.source = url
        tryCompare(page.image, "status", Image.Ready)
        compare(page.image.sourceSize.width, 16400)
        waitForRendering(page.drawingRectangle)
        window.printImage()
        tryVerify(function () { return Helpers.findObject(window, "exportFailedDialog") !== null }, 10000)
        var failed = Helpers.findObject(window, "exportFailedDialog")
        tryCompare(failed, "opened", true)
        var message = findText(failed.contentItem,
                               "The picture is too large to be printed or saved at its full size.")
        verify(message !== null && message.visible, "the dialog does not say why")
        verify(message.height > 0 && failed.height > message.height)
        compare(printSpy.count, 0)
        checkScreenLook()
        failed.close()
        tryCompare(failed, "visible", false)
    }
}
